#pragma once

// The projects the report is printed for: both examples, every load slot in
// use, soil that takes no tension. Saved below the build folder, where their
// pages are kept for a look.

#include "model/MatData.h"

#include <QDir>
#include <QString>

#include <filesystem>

namespace slabwise::test {

inline const QString Pages = QStringLiteral(SLABWISE_REPORT_DIR);

// The English example with every load slot in use, loads of both signs.
inline QString EveryLoadProject() {
    QDir().mkpath(Pages);
    QString path = Pages + QStringLiteral("/Every Load Slot.ksw");
    TMatData mat(std::filesystem::path(SLABWISE_SOURCE_DATA));
    mat.LoadFromFile(std::filesystem::path(SLABWISE_SOURCE_DATA) / "Example English Units.ksw");
    for (int n = 0; n < DistLoadCount; ++n)
        mat.DistLoads[n] = {Real(2 + 6 * n), Real(9 + 6 * n), Real(n % 2 ? -1.5 : 1.5), 0};
    for (int m = 0; m < PointLoadCount; ++m)
        // Decimal positions as the window would hold them, so Open keeps them.
        mat.PointLoads[m] = {Real(15 + 38 * m) / 10, Real(m % 3 ? 40 + 10 * m : -30)};
    for (int n = 0; n < MomentCount; ++n) mat.Moments[n] = {Real(5 + 11 * n), Real(n % 2 ? -50 : 50)};
    mat.ProjectName = "Every load slot in use";
    mat.SaveToFile(std::filesystem::path(path.toStdString()));
    return path;
}

inline QString Example(const char* name) {
    return QStringLiteral(SLABWISE_SOURCE_DATA "/") + QLatin1String(name);
}

// The SI example on soil that takes no tension.
inline QString NoTensionProject() {
    QDir().mkpath(Pages);
    QString path = Pages + QStringLiteral("/No Tension.ksw");
    TMatData mat(std::filesystem::path(SLABWISE_SOURCE_DATA));
    mat.LoadFromFile(std::filesystem::path(SLABWISE_SOURCE_DATA) / "Example SI Units.ksw");
    mat.SoilTakesNoTension = 1;
    mat.SaveToFile(std::filesystem::path(path.toStdString()));
    return path;
}

} // namespace slabwise::test
