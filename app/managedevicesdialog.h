#pragma once

#include "shell/applicationsettings.h"

#include <QDialog>
#include <QItemDelegate>
#include <QMap>
#include <QTableView>

class QPushButton;
class QStandardItemModel;

// Paints a device cell: bold, centred, in a pale yellow on the selected row, never in the style's colours.
class ManageDevicesDelegate : public QItemDelegate
{
public:
    using QItemDelegate::QItemDelegate;
    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
};

// The table of known devices: id, name, serial number and codec password (shown in clear).
class ManageDevicesView : public QTableView
{
public:
    explicit ManageDevicesView(QWidget *parent = nullptr);
    void setDevices(const QMap<int, KnownDevice> &devices);

private:
    QStandardItemModel *m_model;
};

// Lets the user add, edit and delete known devices and pick one to connect. Works on its own copy of the
// devices: the caller takes `devices` and `selectedId` back after exec(), which returns Accepted only
// through "&Connect".
class ManageDevicesDialog : public QDialog
{
    Q_OBJECT

public:
    explicit ManageDevicesDialog(QWidget *parent = nullptr);
    void setDevices(const QMap<int, KnownDevice> &devices);

    ManageDevicesView *view = nullptr;
    QPushButton *addButton = nullptr;
    QPushButton *deleteButton = nullptr;
    QPushButton *editButton = nullptr;
    QPushButton *connectButton = nullptr;
    int selectedId = 0;
    QMap<int, KnownDevice> devices;

private slots:
    void onViewClicked(const QModelIndex &index);
    void addButtonClicked();
    void deleteButtonClicked();
    void editButtonClicked();
    void connectButtonClicked();

private:
    // Runs the device editor on the record; true when it was accepted with a serial number and a password.
    bool runEditor(const QString &title, KnownDevice &device);
    void setupUi();
    // The id of the device on the view's current row, or 0 when there is none.
    int currentDeviceId() const;
    void devicesChanged();
};
