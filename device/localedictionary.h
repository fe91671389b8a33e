#pragma once

// The texts the screen shows for the device's own words (error causes, call and system messages), read once
// from the dictionary resource. A word the dictionary does not know is shown as it is.

#include <QString>

#include <map>
#include <string>

class LocaleDictionary
{
public:
    LocaleDictionary();
    // The dictionary of that file alone.
    explicit LocaleDictionary(const QString &fileName);

    // Reads the dictionary resource; without it the dictionary stays empty.
    void load();

    QString translate(const std::string &key) const;
    // The text of the device's cause with that code; unknown codes are "200-unknown error".
    QString causeText(int code) const;

private:
    // "key:text" lines, '#' comments; the first entry of a key wins.
    void load(const QString &fileName);

    std::map<std::string, std::string> m_texts;
};
