#include "widgets/vexmarvirtual.h"

#include "widgets/vexmarbutton.h"
#include "widgets/vexmarlook.h"
#include "widgets/vexmarplaintext.h"

#include <QShowEvent>

namespace {

const int keyHeight = 80;
const int keyStep = 96;

// An empty text hides the key.
// clang-format off
const char *const numericKeys[QVexmarVirtual::keyCount] = {
    "", "", "", "", "@", "1", "2", "3", ".", "+",                   // row 1
    "", "", "", "", ":", "4", "5", "6", "*", "#",                   // row 2
    "", "", ",", "7", "8", "9", "", "Backspace",                    // row 3 (keys 20-25, 26, 27)
    "Cancel", "Abc", "0", "OK",                                     // row 4
};

const char *const letterKeys[4][QVexmarVirtual::keyCount] = {
    {"q", "w", "e", "r", "t", "y", "u", "i", "o", "p",
     "a", "s", "d", "f", "g", "h", "j", "k", "l", "z",
     "x", "c", "v", "b", "n", "m", "Caps", "Backspace",
     "Cancel", "12!?", " ", "OK"},
    {"Q", "W", "E", "R", "T", "Y", "U", "I", "O", "P",
     "A", "S", "D", "F", "G", "H", "J", "K", "L", "Z",
     "X", "C", "V", "B", "N", "M", "Caps", "Backspace",
     "Cancel", "12!?", " ", "OK"},
    {"1", "2", "3", "4", "5", "6", "7", "8", "9", "0",
     "@", "&", "%", "=", "+", "-", "*", "/", "(", ")",
     ",", ":", ";", "_", "\\", ".", "1 / 2", "Backspace",
     "Cancel", "Abc", " ", "OK"},
    {"1", "2", "3", "4", "5", "6", "7", "8", "9", "0",
     "#", "$", "~", "[", "]", "{", "}", "<", ">", "|",
     ",", "!", "?", "'", "\"", ".", "2 / 2", "Backspace",
     "Cancel", "Abc", " ", "OK"},
};
// clang-format on

enum SpecialKey { CapsKey = 26, BackspaceKey = 27, CancelKey = 28, PageKey = 29, SpaceKey = 30, OkKey = 31 };

// Row (0-3) and x, width of each key; key 30 depends on the mode and is placed apart.
struct KeyPlace
{
    int row;
    int x;
    int width;
};

KeyPlace keyPlace(int index)
{
    if (index < 10)
        return {0, 8 + keyStep * index, 80};
    if (index < 20)
        return {1, 8 + keyStep * (index - 10), 80};
    if (index < 26)
        return {2, 200 + keyStep * (index - 20), 80};
    switch (index) {
    case CapsKey:
        return {2, 8, 176};
    case BackspaceKey:
        return {2, 776, 176};
    case CancelKey:
        return {3, 8, 176};
    case PageKey:
        return {3, 200, 80};
    case OkKey:
        return {3, 776, 176};
    default:
        return {3, 296, 464};
    }
}

} // namespace

QVexmarVirtual::QVexmarVirtual(bool letters, QWidget *parent) : QVexmarPopup(parent), alphanumeric(letters)
{
    setupUi();
    setKeyPage(LowerCase);
}

void QVexmarVirtual::setupUi()
{
    Look::frame(this, 960, 455);

    const QFont titleFont = Look::pixelFont(font(), 28);
    const QFont keyFont = Look::pixelFont(font(), 32);

    // Openers copy a row's title here, and rows may be named by the device.
    plainTextLabel(&titleLabel);
    titleLabel.setGeometry(8, 15, 368, 42);
    titleLabel.setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    titleLabel.setFont(titleFont);

    lineEdit.setGeometry(392, 15, 560, 42);
    lineEdit.setFrame(false);
    lineEdit.setFont(keyFont);

    // Character keys show a white border and no fill; function keys are filled grey.
    QPalette characterPalette = palette();
    characterPalette.setBrush(QPalette::Window, QBrush(Qt::white, Qt::NoBrush));
    characterPalette.setBrush(QPalette::WindowText, QBrush(Qt::white));
    QPalette functionPalette = palette();
    functionPalette.setBrush(QPalette::Window, QBrush(Qt::gray));
    functionPalette.setBrush(QPalette::WindowText, QBrush(Qt::white));

    const int firstRowY = lineEdit.height() + 30;
    for (int index = 0; index < keyCount; ++index) {
        auto *key = new QVexmarButton(this);
        key->borderWidth = 2;
        key->radius = 10.0f;
        key->setFont(keyFont);
        key->setProperty("vkb_button", index);
        const bool function = index >= CapsKey && index != SpaceKey;
        key->setPalette(function ? functionPalette : characterPalette);
        KeyPlace place = keyPlace(index);
        if (index == SpaceKey && !alphanumeric)
            place = {3, 584, 80};
        key->setGeometry(place.x, firstRowY + keyStep * place.row, place.width, keyHeight);
        connect(key, &QAbstractButton::clicked, this, &QVexmarVirtual::buttonClicked);
        keys[index] = key;
    }
}

void QVexmarVirtual::setKeyPage(int index)
{
    // Any other index shows page 0 and is kept as 0, so that "Caps" and "12!?" go on working.
    if (index < UpperCase || index > Symbols2)
        index = LowerCase;
    const char *const *table = alphanumeric ? letterKeys[index] : numericKeys;
    for (int i = 0; i < keyCount; ++i) {
        const QString text = QString::fromLatin1(table[i]);
        keys[i]->setText(text);
        keys[i]->setVisible(!text.isEmpty());
    }
    keyPage = index;
}

void QVexmarVirtual::buttonClicked()
{
    const QVariant property = sender() ? sender()->property("vkb_button") : QVariant();
    bool ok = false;
    const int index = property.toInt(&ok);
    if (!property.isValid() || !ok || index < 0 || index >= keyCount)
        return;

    switch (index) {
    case CapsKey:
        if (keyPage == LowerCase || keyPage == UpperCase)
            setKeyPage(keyPage == LowerCase ? UpperCase : LowerCase);
        else
            setKeyPage(keyPage == Symbols1 ? Symbols2 : Symbols1);
        break;
    case BackspaceKey:
        lineEdit.backspace();
        break;
    case CancelKey:
        close();
        break;
    case PageKey:
        if (!alphanumeric) {
            // One way: the numeric keypad does not come back.
            alphanumeric = true;
            QVexmarButton *space = keys[SpaceKey];
            space->move(space->x() - 240, space->y());
            space->resize(384, 64);
            setKeyPage(LowerCase);
        } else {
            setKeyPage(keyPage == LowerCase || keyPage == UpperCase ? Symbols1 : LowerCase);
        }
        break;
    case OkKey:
        cancelled = 0;
        close();
        break;
    default:
        lineEdit.insert(keys[index]->text());
        break;
    }
}

void QVexmarVirtual::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous()) {
        lineEdit.setFocus(Qt::MouseFocusReason);
        lineEdit.end(false);
    }
}
