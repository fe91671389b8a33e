#pragma once

// The four choices of a codec setting on a settings page (algorithm, channel mode, sampling rate, bit rate), each
// filled from the device's list for the choices made before it. The call profile page uses it, and so can the codec
// pages: what differs between them is said by the fields below.

#include "device/networkcode.h"
#include "rpc/codecformat.h"

#include <QString>

#include <functional>
#include <utility>
#include <vector>

class QVexmarMenuItem;
class TComDevice;

struct CodingRows
{
    // Any of them may be missing from the page: it is skipped, and so is the list behind it.
    QVexmarMenuItem *algorithm = nullptr;
    QVexmarMenuItem *channelMode = nullptr;
    QVexmarMenuItem *sampleRate = nullptr;
    QVexmarMenuItem *bitRate = nullptr;

    // What every list is asked with: the codec mode, and the network type (none: no "network" in the request).
    int codecMode = 0;
    int networkType = networkCodeNone;
    // Offered before the device's algorithms; they do not count when the row is locked for a single choice.
    std::vector<std::pair<int, QString>> leadingAlgorithms;
    // The kHz shown for an algorithm of one fixed rate, which the coding stores as 48000 Hz and 64000 bit/s; 0 asks
    // the device. Unset: every algorithm asks.
    std::function<int(int algorithm)> fixedRateKhz;
    // An algorithm that needs no further choice: the other three rows are emptied, locked and hidden. Unset: none.
    std::function<bool(int algorithm)> takesNoCoding;

    // Reads the lists and fills the rows. The algorithm is shown as it is and never replaced: red, with no option
    // current, when not offered. A channel mode, rate or bit rate that the device does not offer becomes the first
    // it offers, and stays as it is when it offers none (the row then shows nothing). A row is locked at one choice
    // or none.
    void update(TComDevice *device, CodecFormat &coding) const;

    // One row from a list: the options (no unknown word, at most 256), the edited value replaced as above,
    // selected, locked, shown.
    static void fill(
        QVexmarMenuItem *row, const std::vector<int> &listed, const std::function<QString(int)> &text, int &edited);
    // "48 kHz", "64 kbit/s": whole kilohertz and kilobits, the rest dropped.
    static QString sampleRateText(int hertz);
    static QString bitRateText(int bitsPerSecond);
};
