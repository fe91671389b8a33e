#pragma once

#include <QCoreApplication>
#include <QMap>
#include <QObject>
#include <QString>

#include <array>
#include <memory>
#include <string>

class QVexmarSoftkeys;

namespace kra {
class CMsg;
}

// One of the device's ten programmable keys: a category (what kind of action), a function within it and a
// behaviour. On the device it is the "general" parameter "softkey" + (index + 1): empty for none, else
// "CxxFxxBxx" in upper-case hexadecimal. Changes go to the device and out as signals through the owner; a key
// without owner changes quietly.
class QVexmarSoftkey
{
    Q_DECLARE_TR_FUNCTIONS(QVexmarSoftkey)

public:
    enum Category : int {
        NoCategory = -1,
        Shortcuts = 0,
        Contacts = 1,
        Info = 2,
        TalkToStream = 3,
        TalkToSpeaker = 4,
        TalkToOutput = 5,
    };
    // 1..16 by category; the numbers have no names of their own.
    enum Function : int { NoFunction = 0 };
    enum Behavior : int { NotApplicable = 0, Temporary = 1, Toggle = 2, Pulse = 3 };

    QVexmarSoftkey(int index, int categoryMask, QVexmarSoftkeys *owner);
    QVexmarSoftkey(const QVexmarSoftkey &) = delete;
    QVexmarSoftkey &operator=(const QVexmarSoftkey &) = delete;

    static QString categoryName(int category);
    // "None" for every pair that is no function.
    static QString functionName(int category, int function);
    static QString behaviorName(int behavior);
    // The function when it lies in the category's range, else -1.
    static int functionId(int category, int function);
    // What the settings menu uses as option value: 0x0101 times a valid function, else 0xFF00 | function.
    static int functionCode(int category, int function);

    // None, the categories of the mask, Talk to Output only with the docking station.
    QMap<int, QString> categoryList() const;
    // Keyed by function number or by function code. For the talk categories it also works out and keeps which
    // functions this key offers (by its index and the device's options).
    QMap<int, QString> functionList(int category, bool asCode);
    QMap<int, QString> behaviorList(int category) const;

    // Each writes the key and signals through the owner when something changes; out-of-range values are dropped.
    void setCategory(int category);
    void setFunction(int function);
    // The low byte is the function.
    void setFunctionCode(int code);
    void setBehavior(int behavior);
    // The function with the category's behaviour, unchecked.
    void applyFunction(int function);

    int index() const { return m_index; }
    int categoryMask() const { return m_categoryMask; }
    int category() const { return m_category; }
    int function() const { return m_function; }
    int behavior() const { return m_behavior; }
    int functionMask() const { return m_functionMask; }
    // The parameter's name and value on the device.
    std::string parameterName() const;
    std::string wireValue() const;

private:
    friend class QVexmarSoftkeys;

    struct State
    {
        int category = NoCategory;
        int function = NoFunction;
        int behavior = NotApplicable;
    };

    State state() const { return {m_category, m_function, m_behavior}; }

    QVexmarSoftkeys *const m_owner;
    const int m_index;
    const int m_categoryMask;
    int m_category = NoCategory;
    int m_function = NoFunction;
    int m_behavior = NotApplicable;
    int m_functionMask = -1;
    // What the device holds as far as we know: its last value, or our last write it accepted.
    State m_confirmed;
};

// The ten soft keys of the device as the screen mirrors them: read at each set-up, kept in step with the
// device's "config_changeset", and written one key at a time as the user changes them.
class QVexmarSoftkeys : public QObject
{
    Q_OBJECT

public:
    enum { keyCount = 10, requestTimeoutMs = 5000 };

    explicit QVexmarSoftkeys(QObject *parent = nullptr);
    ~QVexmarSoftkeys() override;

    // Key 0..9.
    QVexmarSoftkey *key(int index) const { return m_keys[size_t(index)].get(); }

    // Subscription and full read, each time the screen has attached the audio input settings. The keys change
    // only when all ten values came.
    void load();
    // An INFO "config_changeset" of the device's own changes.
    void handleConfigChangeset(const kra::CMsg &body);
    // One "softkeyN" value from the device; never written back.
    void applyValue(const std::string &key, const std::string &value);
    // Sends the key. A write that the connected device refuses brings the key back to the device's value;
    // then false.
    bool writeSoftkey(QVexmarSoftkey *key);
    void commitFunction(QVexmarSoftkey *key);
    void commitBehavior(QVexmarSoftkey *key);
    void notifyCategoryChanging(QVexmarSoftkey *key, int category);
    void notifyFunctionChanging(QVexmarSoftkey *key, int function);

signals:
    // The two "changing" signals come while the key still holds its old values, with the new one.
    void softKeyCategoryChanging(QVexmarSoftkey *softKey, QVexmarSoftkey::Category category);
    void softKeyFunctionChanging(QVexmarSoftkey *softKey, QVexmarSoftkey::Function function);
    void softKeyFunctionChanged(QVexmarSoftkey *softKey);
    void softKeyBehaviorChanged(QVexmarSoftkey *softKey);

private:
    bool m_applying = false;
    std::array<std::unique_ptr<QVexmarSoftkey>, keyCount> m_keys;
};

Q_DECLARE_METATYPE(QVexmarSoftkey *)
Q_DECLARE_METATYPE(QVexmarSoftkey::Category)
Q_DECLARE_METATYPE(QVexmarSoftkey::Function)
