#pragma once

#include "model/DesignChecks.h"
#include "model/MatData.h"
#include "model/ThinnestDesign.h"

#include <QDialog>
#include <QString>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <string_view>

class QDialogButtonBox;
class QLabel;
class QProgressBar;
class QTableWidget;
class QThread;
class QTimer;

namespace slabwise {

class TDialogs;
class TProjectDocument;

// The search the dialog runs; FindThinnestDesign unless a test hands in its
// own.
using TThinnestSearch = std::function<TThinnestDesign(const TMatData&, const TSearchProgress&)>;

// "Find Thinnest Design": searches a copy of the project in a worker thread
// while a progress bar runs, then sets the proposal beside the current
// values for the engineer to apply or not. Cancel, Escape or closing stops
// the search through its progress callback.
class TThinnestDesignDialog : public QDialog {
    Q_OBJECT

public:
    explicit TThinnestDesignDialog(const TMatData& project, QWidget* parent = nullptr,
                                   TThinnestSearch search = {});
    // Stops the search and waits for the worker, which holds this dialog.
    ~TThinnestDesignDialog() override;

    bool Searching() const;
    // The search's answer once it has ended (also after a cancel).
    const std::optional<TThinnestDesign>& Design() const { return design_; }
    // Present when the search found a design.
    const TDesignProposal* Proposal() const;
    // The project the proposal is set beside, as it was when the dialog opened.
    const TMatData& Current() const { return current_; }

    void reject() override;

private:
    void ShowProgress();
    void SearchEnded();
    void ShowProposal(const TThinnestDesign& design);
    void ShowNoDesign(const QString& reason);
    void FitToContents();

    // The project as it was when the dialog opened; the worker reads its own
    // copy.
    const TMatData current_;
    TThinnestSearch search_;
    std::optional<TThinnestDesign> design_;
    // What the worker raised instead of answering.
    std::optional<QString> failure_;
    std::atomic<double> fraction_{0};
    std::atomic<bool> cancel_{false};
    std::unique_ptr<QThread> worker_;

    QLabel* status_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QTableWidget* table_ = nullptr;
    QLabel* candidates_ = nullptr;
    QDialogButtonBox* buttons_ = nullptr;
    QTimer* timer_ = nullptr;
};

// The caption of the step that applies a proposal.
inline constexpr const char* ThinnestDesignCaption = "Find Thinnest Design";

// Design > Find Thinnest Design...: the dialog on the document's project;
// Apply puts the proposal in place as one step of the document's history.
void ShowThinnestDesign(QWidget* parent, TProjectDocument& document, TDialogs& dialogs);

} // namespace slabwise
