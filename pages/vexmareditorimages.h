#pragma once

// The images of the editor page's buttons: white where a button acts, grey (or "-disable") where it does nothing.
// Grey buttons are still pressed; the page's own checks decide whether anything happens.

#include <QString>

namespace EditorImages {

inline const QString goWhite = QStringLiteral(":/images/btn_go.png");
inline const QString goGrey = QStringLiteral(":/images/btn_go_grey.png");
inline const QString markWhite = QStringLiteral(":/images/btn_mark.png");
inline const QString markGrey = QStringLiteral(":/images/btn_mark_grey.png");
inline const QString deleteWhite = QStringLiteral(":/images/btn_del_white.png");
inline const QString deleteGrey = QStringLiteral(":/images/btn_del_grey.png");
inline const QString previousWhite = QStringLiteral(":/images/play-prev-white.png");
inline const QString previousGrey = QStringLiteral(":/images/play-prev-grey.png");
inline const QString nextWhite = QStringLiteral(":/images/play-next-white.png");
inline const QString nextGrey = QStringLiteral(":/images/play-next-grey.png");
inline const QString saveWhite = QStringLiteral(":/images/save_white.png");
inline const QString saveGrey = QStringLiteral(":/images/save_grey.png");
inline const QString openWhite = QStringLiteral(":/images/open_folder.png");
inline const QString openGrey = QStringLiteral(":/images/open_folder_grey.png");
inline const QString trashWhite = QStringLiteral(":/images/trash.png");
inline const QString trashDisable = QStringLiteral(":/images/trash-disable.png");
inline const QString zoomInWhite = QStringLiteral(":/images/zoom_plus_white.png");
inline const QString zoomInGrey = QStringLiteral(":/images/zoom_plus_grey.png");
inline const QString zoomOutWhite = QStringLiteral(":/images/zoom_minus_white.png");
inline const QString zoomOutGrey = QStringLiteral(":/images/zoom_minus_grey.png");
inline const QString undoGrey = QStringLiteral(":/images/btn_undo_grey.png");
inline const QString playWhite = QStringLiteral(":/images/play-white.png");
inline const QString playGrey = QStringLiteral(":/images/play-grey.png");
inline const QString stopWhite = QStringLiteral(":/images/stop-white.png");
inline const QString speed1 = QStringLiteral(":/images/btn_x1.png");
inline const QString speed4 = QStringLiteral(":/images/btn_x4.png");
inline const QString speed16 = QStringLiteral(":/images/btn_x16.png");
inline const QString home = QStringLiteral(":/images/home.png");

} // namespace EditorImages
