#include "app/deviceinfodialog.h"

#include "app/infodialoglayout.h"
#include "shell/applicationsettings.h"

#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QStringList>

namespace {

// The characters of the text that the file cannot hold, each once, as the user can recognise them.
QString unstorableCharacters(const QString &text)
{
    QStringList found;
    for (const uint codePoint : text.toUcs4()) {
        const QString character = QString::fromUcs4(&codePoint, 1);
        if (isStorableText(character))
            continue;
        const QString shown = character.at(0).isPrint() || character.at(0).isSurrogate()
            ? character
            : QStringLiteral("U+%1").arg(codePoint, 4, 16, QLatin1Char('0')).toUpper();
        if (!found.contains(shown))
            found.append(shown);
    }
    return found.join(QLatin1Char(' '));
}

} // namespace

DeviceInfoDialog::DeviceInfoDialog(QWidget *parent)
    : QDialog(parent, Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
{
    setWindowTitle(tr("Device Information"));
    setupUi();
    setFixedSize(269, 132);
}

void DeviceInfoDialog::setupUi()
{
    nameEdit = new QLineEdit(this);
    serialEdit = new QLineEdit(this);
    passwordEdit = new QLineEdit(this);
    okButton = new QPushButton(tr("OK"), this);
    cancelButton = new QPushButton(tr("Cancel"), this);
    layOutInfoDialog(this, tr("Device Information"),
        {{tr("Name"), nameEdit}, {tr("Serial Number"), serialEdit}, {tr("Codec Password"), passwordEdit}}, okButton,
        cancelButton);
    connect(okButton, &QPushButton::clicked, this, &DeviceInfoDialog::okClicked);
    connect(cancelButton, &QPushButton::clicked, this, &DeviceInfoDialog::cancelClicked);
}

void DeviceInfoDialog::okClicked()
{
    // The configuration file is ISO 8859-1: anything else would not survive the next save, and a changed
    // password would lock the user out of the codec.
    const QPair<QString, QLineEdit *> fields[]
        = {{tr("Name"), nameEdit}, {tr("Serial Number"), serialEdit}, {tr("Codec Password"), passwordEdit}};
    for (const auto &field : fields) {
        if (!isStorableText(field.second->text())) {
            QMessageBox::warning(this, windowTitle(),
                tr("\"%1\" contains characters that cannot be saved: %2\nUse only letters, digits "
                   "and signs of Western European text (ISO 8859-1).")
                    .arg(field.first, unstorableCharacters(field.second->text())));
            field.second->setFocus();
            field.second->selectAll();
            return;
        }
    }
    accept();
}

void DeviceInfoDialog::cancelClicked()
{
    reject();
}
