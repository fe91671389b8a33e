#pragma once

// The images of the folder page's buttons: white where a button acts, grey (or "-disable") where it does nothing.

#include <QString>

namespace FolderImages {

inline const QString playWhite = QStringLiteral(":/images/play-white.png");
inline const QString playGrey = QStringLiteral(":/images/play-grey.png");
inline const QString pauseWhite = QStringLiteral(":/images/pause-white.png");
inline const QString stopWhite = QStringLiteral(":/images/stop-white.png");
inline const QString stopGrey = QStringLiteral(":/images/stop-grey.png");
inline const QString trash = QStringLiteral(":/images/trash.png");
inline const QString trashDisable = QStringLiteral(":/images/trash-disable.png");
inline const QString share = QStringLiteral(":/images/share.png");
inline const QString shareDisable = QStringLiteral(":/images/share-disable.png");
inline const QString waves = QStringLiteral(":/images/waves.png");
inline const QString wavesDisable = QStringLiteral(":/images/waves-disable.png");
inline const QString pencilDisable = QStringLiteral(":/images/pencil-disable.png");
inline const QString pushRightWhite = QStringLiteral(":/images/push-right-white.png");
inline const QString pushRightGrey = QStringLiteral(":/images/push-right-grey.png");
inline const QString pushLeftWhite = QStringLiteral(":/images/push-left-white.png");
inline const QString pushLeftGrey = QStringLiteral(":/images/push-left-grey.png");
inline const QString upWhite = QStringLiteral(":/images/goUp-white.png");
inline const QString upGrey = QStringLiteral(":/images/goUp-grey.png");
inline const QString downWhite = QStringLiteral(":/images/goDw-white.png");
inline const QString downGrey = QStringLiteral(":/images/goDw-grey.png");
inline const QString previousWhite = QStringLiteral(":/images/play-prev-white.png");
inline const QString previousGrey = QStringLiteral(":/images/play-prev-grey.png");
inline const QString nextWhite = QStringLiteral(":/images/play-next-white.png");
inline const QString nextGrey = QStringLiteral(":/images/play-next-grey.png");
inline const QString tools = QStringLiteral(":/images/tools_2.png");

} // namespace FolderImages
