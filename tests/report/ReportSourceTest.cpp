// The report built from the model reads as the window reads: every text it
// asks for and every check it colours, for each kind of project, under a
// decimal point and a decimal comma.

#include "ReportProjects.h"
#include "ReportRecorder.h"
#include "WindowFixture.h"
#include "WindowReportSource.h"
#include "report/ReportOutput.h"
#include "support/ScopedUserLocale.h"

#include <filesystem>
#include <memory>

namespace slabwise::test {

namespace {

// The English example with a logo twice as tall as wide, whose box width
// rounds half to even.
QString LogoProject() {
    QDir().mkpath(Pages);
    QString path = Pages + QStringLiteral("/Tall Logo.ksw");
    TMatData mat(std::filesystem::path(SLABWISE_SOURCE_DATA));
    mat.LoadFromFile(std::filesystem::path(SLABWISE_SOURCE_DATA) / "Example English Units.ksw");
    TRgbPixels pixels{50, 100, std::vector<uint8_t>(50 * 100 * 3, 90)};
    const TJpegImage logo = TJpegImage::FromPixels(pixels);
    mat.AssignLogo(&logo);
    mat.SaveToFile(std::filesystem::path(path.toStdString()));
    return path;
}

class ReportSource : public WindowTest {};

} // namespace

TEST_F(ReportSource, TheModelsTextsAreTheWindows) {
    const QString projects[] = {Example("Example English Units.ksw"), Example("Example SI Units.ksw"),
                                EveryLoadProject(), NoTensionProject(), LogoProject()};
    for (const char* locale : {"C", "de_DE.UTF-8"}) {
        const TScopedUserLocale user(locale);
        ASSERT_TRUE(user.Active()) << locale;
        for (const QString& project : projects) {
            SCOPED_TRACE(QFileInfo(project).fileName().toStdString() + " in " + locale);
            // The window formats when it opens, so under the locale.
            dialogs.OpenFiles.push_back(project);
            window->AOpenExecute();
            ASSERT_EQ(window->FileName(), project);
            const TWindowReportSource shown(*window);
            TAskedNames asked(shown);
            TRecordingBackEnd pages(8.5, 11);
            RunReport(pages, asked);
            ProjectPdfTexts(asked);
            ASSERT_GT(asked.Texts.size(), 240);

            // Built from the window's model, and from the file alone as the
            // command-line tool opens it.
            auto opened = std::make_unique<TMatData>();
            OpenAndAnalyse(*opened, std::filesystem::path(project.toStdString()));
            const TMatData* const models[] = {&window->Model(), opened.get()};
            for (const TMatData* model : models) {
                SCOPED_TRACE(model == opened.get() ? "opened alone" : "the window's model");
                const TProjectReportSource built(*model);
                for (const QString& name : asked.Texts)
                    EXPECT_EQ(built.Text(name), shown.Text(name)) << name.toStdString();
                for (const QString& picture : asked.Pictures)
                    EXPECT_EQ(built.CheckFailed(picture), shown.CheckFailed(picture))
                        << picture.toStdString();
                if (model->Logo) {
                    EXPECT_EQ(built.LogoBoxSize(), shown.LogoBoxSize());
                }
                EXPECT_EQ(built.UnitSystem(), shown.UnitSystem());
                EXPECT_EQ(built.VersionText(), shown.VersionText());
            }
        }
    }
}

// Each failed check turns its values red, whether the model or the window
// is asked: a project whose steel and bearing fail.
TEST_F(ReportSource, FailedChecksAreTheWindows) {
    Commit("Edit62", QStringLiteral("0,5").replace(u',', QLocale().decimalPoint()));
    // One top bar: too far apart and too little steel.
    Commit("Edit43", QStringLiteral("1"));
    const TWindowReportSource shown(*window);
    const TProjectReportSource built(window->Model());
    int failed = 0;
    for (const char* picture :
         {"Image3", "Image4", "Image5", "Image6", "Image7", "Image9", "Image10", "Image11"}) {
        EXPECT_EQ(built.CheckFailed(QLatin1String(picture)), shown.CheckFailed(QLatin1String(picture)))
            << picture;
        failed += shown.CheckFailed(QLatin1String(picture));
    }
    EXPECT_GE(failed, 3);
}

} // namespace slabwise::test
