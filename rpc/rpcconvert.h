#pragma once

// Converters between wire texts and numbers or character sets. They never throw and never fail:
// a text that cannot be read gives 0.

#include <cstdint>
#include <string>

int stringToInt(const std::string &text);
long stringToLong(const std::string &text);
short stringToShort(const std::string &text);
float stringToFloat(const std::string &text);
long hexStringToLong(const std::string &text);
unsigned long hexStringToULong(const std::string &text);
// A decimal text, optionally preceded by 'P'.
short fecFromString(const std::string &text);

std::string longToString(long value);
std::string longToString(int value);
std::string longToHexString(long value, int width);
std::string ulongToHexString(unsigned long value, int width);
std::string floatToString(float value);
// "on" / "off".
const std::string &onOffText(bool on);

// hh:mm:ss, hours not wrapped at 24.
int formatDuration(const std::uint64_t &seconds, std::string &out);

std::string utf8ToLatin1(const std::string &text);
std::string latin1ToUtf8(const std::string &text);
