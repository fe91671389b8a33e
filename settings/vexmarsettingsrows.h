#pragma once

// What the pages of the Tools branch share to build their rows and read their values.

#include <QString>

#include <map>
#include <string>
#include <vector>

class QVexmarMenuItem;
class QVexmarMenuItems;
class QVexmarSettingsPage;
class TComRpcAccess;

namespace settingsrows {

// A row added to the end of the page, with the left margin of its level (10 plain, 60 under a heading).
QVexmarMenuItem *addRow(QVexmarMenuItems *page, int id, int kind, const QString &title, int left = 10);
// The value of the current option; false, value untouched, for a row without one (-1 is a value like another).
bool chosenValue(const QVexmarMenuItem *row, int &value);
// Pages written at once: the row's value as it shows now is what the device holds, and a refused edit puts it
// back with "Failed to apply changes!".
void holdValue(QVexmarMenuItem *row);
void refuseEdit(QVexmarSettingsPage *page, QVexmarMenuItem *row);
// A text the device would store altered: Latin-1 cannot hold one of its characters (it would travel as '?').
bool fitsLatin1(const QString &text);

using Values = std::map<std::string, std::string>;
// One GET of the names on the target, 5000 ms, the answers added to values: a name the device has not set enters
// empty, one it did not answer stays missing. False when nothing came.
bool readValues(TComRpcAccess *rpc, const std::string &target, const std::vector<std::string> &names, Values &values);
// Null when missing.
const std::string *valueOf(const Values &values, const std::string &key);

} // namespace settingsrows
