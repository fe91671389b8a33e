#include "tools/gallery/gallery.h"

#include "widgets/vexmarconfirm.h"
#include "widgets/vexmarcontrols.h"
#include "widgets/vexmarprojectpopups.h"

namespace {

QList<GalleryShot> renderProjectPopups()
{
    QList<GalleryShot> shots;
    {
        QVexmarConfirmAction confirm;
        confirm.setTitle(QStringLiteral("Please confirm"));
        confirm.setLine1(QStringLiteral("Delete"), QStringLiteral("003_Interview.wav"));
        confirm.setupUi();
        shots.append({QStringLiteral("confirm"), grabWidget(&confirm)});
    }
    {
        QVexmarConfirmAction confirm;
        confirm.setTitle(QStringLiteral("Please confirm"));
        confirm.setLine1(QStringLiteral("Format"), QStringLiteral("USB"));
        confirm.setLine2(QStringLiteral("Size"), QStringLiteral("14.8 GB"));
        confirm.setLine3(QStringLiteral("Warning"), QStringLiteral("all data will be lost"));
        confirm.setupUi();
        shots.append({QStringLiteral("confirm-three-lines"), grabWidget(&confirm)});
    }
    for (const char *state : {"counting", "done", "failed"}) {
        QVexmarCountDownPopup countDown;
        countDown.setTitle(QStringLiteral("Formatting USB"));
        countDown.setLine1(QStringLiteral("Waiting"), QString());
        countDown.setCountdown(1);
        countDown.setupUi();
        countDown.hideButtons();
        countDown.startCountdown(1);
        for (int tick = 1; tick < 75; ++tick)
            countDown.updateCountdown();
        if (qstrcmp(state, "done") == 0)
            countDown.showDone();
        else if (qstrcmp(state, "failed") == 0)
            countDown.showFailed();
        shots.append({QStringLiteral("countdown-%1").arg(QLatin1String(state)), grabWidget(&countDown)});
    }
    for (const bool confirmed : {false, true}) {
        QVexmarEditProjectDelete deletion;
        deletion.setProjectName(QStringLiteral("007"));
        deletion.setupUi();
        if (confirmed) {
            deletion.projectSwitch->click();
            deletion.confirmSwitch->click();
        }
        shots.append({QLatin1String(confirmed ? "delete-confirmed" : "delete"), grabWidget(&deletion)});
    }
    for (const bool copyToDisabled : {false, true}) {
        QVexmarManageProject manage;
        manage.setProjectName(QStringLiteral("007"));
        manage.setCopyToDisabled(copyToDisabled);
        manage.setupUi();
        shots.append(
            {QLatin1String(copyToDisabled ? "manage-project-no-copy" : "manage-project"), grabWidget(&manage)});
    }
    for (const char *drive : {"usb", "internal"}) {
        QVexmarManageDrive manage;
        manage.setDrive(drive);
        manage.setDriveName(qstrcmp(drive, "usb") == 0 ? QStringLiteral("USB") : QStringLiteral("Internal"));
        manage.setupUi();
        shots.append({QStringLiteral("manage-drive-%1").arg(QLatin1String(drive)), grabWidget(&manage)});
    }
    for (const bool chosen : {false, true}) {
        QVexmarExportConfig exportPopup;
        exportPopup.setTitle(QStringLiteral("EXPORT PROJECT"));
        exportPopup.setProjectName(QStringLiteral("007"));
        exportPopup.setProjectSize(QStringLiteral("412 MB"));
        exportPopup.setDrive1Name(QStringLiteral("Internal 28.1 GB 12%"));
        exportPopup.setDrive2Name(QStringLiteral("USB 14.8 GB 3%"));
        exportPopup.setDrive3Name(QStringLiteral("SD 0.2 GB 99%"));
        exportPopup.setDrive4Name(QStringLiteral("FTP"));
        exportPopup.setDrive2Enabled(true);
        exportPopup.setDrive4Enabled(true);
        exportPopup.setupUi();
        if (chosen)
            exportPopup.driveSwitches[1]->click();
        shots.append({QLatin1String(chosen ? "export-usb" : "export"), grabWidget(&exportPopup)});
    }
    {
        QVexmarProjectSelector selector;
        selector.setTitle(QStringLiteral("Select your project"));
        selector.setProjectList(QStringLiteral("kra.prjt|001.prjt||007.prjt|Live|012.prjt|Morning show.prjt"));
        selector.setupUi();
        shots.append({QStringLiteral("selector"), grabWidget(&selector)});
    }
    {
        QVexmarEditProjectRename rename;
        rename.setFirstText(QStringLiteral(".prjt"));
        rename.setSecondText(QStringLiteral("007"));
        rename.setupUi();
        shots.append({QStringLiteral("rename"), grabWidget(&rename)});
    }
    return shots;
}

const GalleryPage page("projectpopups", &renderProjectPopups);

} // namespace
