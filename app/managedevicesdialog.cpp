#include "app/managedevicesdialog.h"

#include "app/deviceinfodialog.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QStandardItemModel>
#include <QVBoxLayout>

namespace {

constexpr int kIdRole = Qt::UserRole + 1;
constexpr int kColumns = 4;

} // namespace

void ManageDevicesDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const auto *model = qobject_cast<const QStandardItemModel *>(index.model());
    const QStandardItem *item = model ? model->item(index.row(), index.column()) : nullptr;
    if (!item)
        return;

    painter->save();
    QFont font = option.font;
    font.setWeight(QFont::Bold);
    painter->setFont(font);

    const QRect cell = option.rect;
    const QRect background(QPoint(cell.left(), cell.top() + 1), QPoint(cell.right() - 2, cell.bottom() - 1));
    const QRect text(QPoint(cell.left() + 3, cell.top() + 1), QPoint(cell.right() - 8, cell.bottom() - 1));

    bool selected = false;
    const auto *view = qobject_cast<const QAbstractItemView *>(parent());
    if (view && view->selectionModel())
        selected = view->selectionModel()->selectedRows(0).contains(index.sibling(index.row(), 0));
    painter->fillRect(background, selected ? QColor(239, 228, 176) : QColor(Qt::white));

    painter->setPen(Qt::black);
    painter->drawText(text, Qt::AlignHCenter | Qt::AlignVCenter, item->data(Qt::DisplayRole).toString());
    painter->restore();
}

ManageDevicesView::ManageDevicesView(QWidget *parent)
    : QTableView(parent), m_model(new QStandardItemModel(0, kColumns, this))
{
    setItemDelegate(new ManageDevicesDelegate(this));
    // The delegate marks the selected row itself; the style would fill the gaps between the cells.
    QPalette colours = palette();
    colours.setColor(QPalette::Highlight, colours.color(QPalette::Base));
    setPalette(colours);
    setShowGrid(false);
    const QString headers[kColumns] = {QTableView::tr("Id"), QTableView::tr("Device Name"),
        QTableView::tr("Serial Number"), QTableView::tr("Codec Password")};
    for (int column = 0; column < kColumns; ++column)
        m_model->setHeaderData(column, Qt::Horizontal, headers[column], Qt::EditRole);
    setModel(m_model);

    QHeaderView *header = horizontalHeader();
    header->setStretchLastSection(true);
    header->resizeSection(0, 50);
    header->resizeSection(1, 150);
    header->resizeSection(2, 100);
    header->setSortIndicatorShown(true);
    header->setSortIndicator(0, Qt::AscendingOrder);
    verticalHeader()->setDefaultSectionSize(19);
    verticalHeader()->hide();

    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSortingEnabled(true);
}

void ManageDevicesView::setDevices(const QMap<int, KnownDevice> &devices)
{
    m_model->removeRows(0, m_model->rowCount());
    if (devices.isEmpty())
        return;
    m_model->setRowCount(devices.size());
    int row = 0;
    for (auto it = devices.cbegin(); it != devices.cend(); ++it, ++row) {
        auto *id = new QStandardItem(QString::number(it->id));
        id->setData(it->id, kIdRole);
        m_model->setItem(row, 0, id);
        m_model->setItem(row, 1, new QStandardItem(it->name));
        m_model->setItem(row, 2, new QStandardItem(it->serialno));
        m_model->setItem(row, 3, new QStandardItem(it->password));
    }
    const QHeaderView *header = horizontalHeader();
    m_model->sort(header->sortIndicatorSection(), header->sortIndicatorOrder());
}

ManageDevicesDialog::ManageDevicesDialog(QWidget *parent)
    : QDialog(parent, Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
{
    setWindowTitle(tr("Manage Known Devices"));
    setupUi();
    resize(450, 250);
}

void ManageDevicesDialog::setupUi()
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setAlignment(Qt::AlignTop);

    view = new ManageDevicesView(this);
    layout->addWidget(view, 1);
    connect(view, &QAbstractItemView::clicked, this, &ManageDevicesDialog::onViewClicked);

    auto *buttons = new QHBoxLayout;
    buttons->setContentsMargins(10, 5, 10, 5);
    buttons->setSpacing(10);
    buttons->setAlignment(Qt::AlignLeft);
    layout->addLayout(buttons);

    addButton = new QPushButton(tr("&Add"), this);
    deleteButton = new QPushButton(tr("&Delete"), this);
    editButton = new QPushButton(tr("&Edit..."), this);
    connectButton = new QPushButton(tr("&Connect"), this);
    for (QPushButton *button : {addButton, deleteButton, editButton, connectButton})
        buttons->addWidget(button);
    deleteButton->setEnabled(false);
    editButton->setEnabled(false);
    connectButton->setEnabled(false);
    connect(addButton, &QPushButton::clicked, this, &ManageDevicesDialog::addButtonClicked);
    connect(deleteButton, &QPushButton::clicked, this, &ManageDevicesDialog::deleteButtonClicked);
    connect(editButton, &QPushButton::clicked, this, &ManageDevicesDialog::editButtonClicked);
    connect(connectButton, &QPushButton::clicked, this, &ManageDevicesDialog::connectButtonClicked);
}

void ManageDevicesDialog::setDevices(const QMap<int, KnownDevice> &known)
{
    this->devices = known;
    view->setDevices(this->devices);
}

void ManageDevicesDialog::onViewClicked(const QModelIndex &index)
{
    const bool valid = index.isValid();
    deleteButton->setEnabled(valid);
    editButton->setEnabled(valid);
    connectButton->setEnabled(valid);
}

int ManageDevicesDialog::currentDeviceId() const
{
    const QModelIndex current = view->currentIndex();
    if (!current.isValid())
        return 0;
    const auto *model = qobject_cast<const QStandardItemModel *>(view->model());
    const QStandardItem *item = model ? model->item(current.row(), 0) : nullptr;
    if (!item)
        return 0;
    const int id = item->data(kIdRole).toInt();
    return devices.contains(id) ? id : 0;
}

void ManageDevicesDialog::devicesChanged()
{
    onViewClicked(QModelIndex());
    setDevices(devices);
}

void ManageDevicesDialog::addButtonClicked()
{
    const int id = nextFreeDeviceId(devices);
    if (id < 1) {
        QMessageBox::warning(this, tr("Add Device"),
            tr("No device can be added: all device ids from %1 to %2 are in use.\nDelete a device "
               "first.")
                .arg(kMinDeviceId)
                .arg(kMaxDeviceId));
        return;
    }
    KnownDevice device(id, tr("noname"));
    if (!runEditor(tr("Add Device"), device))
        return;
    devices.insert(id, device);
    devicesChanged();
}

void ManageDevicesDialog::editButtonClicked()
{
    const int id = currentDeviceId();
    if (id == 0)
        return;
    if (runEditor(tr("Edit Device"), devices[id]))
        devicesChanged();
}

bool ManageDevicesDialog::runEditor(const QString &title, KnownDevice &device)
{
    DeviceInfoDialog editor(this);
    editor.setWindowTitle(title);
    editor.nameEdit->setText(device.name);
    editor.serialEdit->setText(device.serialno);
    editor.passwordEdit->setText(device.password);
    if (editor.exec() != QDialog::Accepted)
        return false;
    const QString serialno = editor.serialEdit->text();
    const QString password = editor.passwordEdit->text();
    if (serialno.isEmpty() || password.isEmpty())
        return false;
    const QString name = editor.nameEdit->text();
    device.name = name.isEmpty() ? tr("noname") : name;
    device.serialno = serialno;
    device.password = password;
    return true;
}

void ManageDevicesDialog::deleteButtonClicked()
{
    const int id = currentDeviceId();
    if (id == 0)
        return;
    if (QMessageBox::question(
            this, tr("Delete Device"), tr("Are you sure?"), QMessageBox::Yes | QMessageBox::Cancel, QMessageBox::Cancel)
        != QMessageBox::Yes)
        return;
    devices.remove(id);
    devicesChanged();
}

void ManageDevicesDialog::connectButtonClicked()
{
    const int id = currentDeviceId();
    if (id == 0)
        return;
    // The id is the last byte of the tunnel's loopback address; a file edited by hand may hold others.
    if (!isValidDeviceId(id)) {
        QMessageBox::warning(this, tr("Connect"),
            tr("The device id %1 is outside %2 to %3, so the device cannot be connected.\nDelete "
               "it and add it again to give it a new id.")
                .arg(id)
                .arg(kMinDeviceId)
                .arg(kMaxDeviceId));
        return;
    }
    selectedId = id;
    accept();
}
