#pragma once

#include "update/CheckUpdates.h"
#include "update/UpdateShell.h"

#include <QPointer>
#include <QString>

#include <memory>

class QTimer;

namespace slabwise {

// The product's update-information page.
inline const char* const UpdatePageUrl = "https://www.kelvane.example/update/slabwise.htm";

// The main window's side of the update check: where the page is, how the
// check talks to the user and the system, and the one-second start timer.
struct TUpdateCommands {
    QString PageUrl = QLatin1String(UpdatePageUrl);
    TUpdateContext Context;
    // Whether this installation is updated in place (see InplaceInstallation).
    bool Inplace = false;
    // The seam every check goes through; the window's own unless replaced.
    TUpdateShell* Shell = nullptr;
    std::unique_ptr<TUpdateShell> OwnShell;
    QTimer* Timer1 = nullptr;
    bool Shown = false;
    // The quiet check while it runs unseen.
    QPointer<TfrmCheckUpdates> Quiet;
};

// Whether the program updates itself in place: it does when its own folder
// is writable by the user (an unpacked copy), and takes the full installer
// when the system owns that folder.
bool InplaceInstallation(const QString& programFolder);

// The "AutoUpdates" setting: on unless stored as 0.
bool ReadAutoUpdates();
void WriteAutoUpdates(bool on);

} // namespace slabwise
