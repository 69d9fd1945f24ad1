#pragma once

// What the program keeps of itself on the user's machine: its folders and
// where its main window stood; the version record it carries comes with the
// report, which prints it.

#include "report/Version.h"

#include <QString>

class QWidget;

namespace slabwise {

// The maker's home page, opened by the Website command and the about box.
inline const char* const MakerHomePage = "http://www.kelvane.example/";
inline const char* const ProductName = "Slabwise";
inline const char* const MakerName = "Kelvane";

// The user's documents folder with a trailing separator; empty when the
// platform has none.
QString GetDocumentsFolder();
// The documents folder followed by "Slabwise/", created with its parents.
QString GetProductDocumentsFolder();
// The per-user data folder of the product with a trailing separator, created;
// empty when the platform has none.
QString GetUserDataFolder();

// The user guide, "user-guide.html": beside the program (as in the build
// tree), else in the installed data folder; empty when neither holds it.
inline const char* const UserGuideName = "user-guide.html";
QString FindUserGuide(const QString& programFolder);

// Window placement under "WinPos" in the per-user settings of Kelvane
// Slabwise: "Left", "Top", "Width", "Height" (only for a normal window) and
// "WinState" (0 normal, 1 minimised, 2 maximised).
void LoadWindowPlacement(QWidget& window);
void SaveWindowPlacement(const QWidget& window);

} // namespace slabwise
