#include "ThinnestDesignDialog.h"

#include "Dialogs.h"
#include "document/ProjectDocument.h"
#include "model/Units.h"
#include "views/LocaleNumber.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <exception>
#include <iterator>
#include <limits>
#include <utility>

namespace slabwise {

namespace {

constexpr int ProgressSteps = 1000;
constexpr int ProgressIntervalMs = 50;

QString FromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// "Thickness, ft": a row's caption and the unit of the project, as the
// punching table heads its columns.
QString Heading(const char* caption, const TMatData& mat, std::optional<TQuantity> unit = std::nullopt) {
    QString text = QLatin1String(caption);
    if (unit) text += QStringLiteral(", ") + FromUtf8(UnitText(*unit, mat.UnitSystem));
    return text;
}

// "No thickness ... passes." from the search's "no thickness ... passes".
QString Sentence(QString text) {
    if (!text.isEmpty()) text[0] = text[0].toUpper();
    return text + QLatin1Char('.');
}

QString UtilizationNumber(Real utilization) {
    return FormatLocaleFixed(utilization, UtilizationDecimals(utilization), 18);
}

// The bars a face has now, as the window's summary counts them: the
// engineer's count where one is given.
QString CurrentBars(const TMatData& mat, Real override, Real computed) {
    return override > 0 ? BoxValueText(mat, TagBarsOverride, override)
                        : BoxValueText(mat, TagBarsMin, computed);
}

QString CheckText(TCheck check, Real utilization) {
    if (std::isnan(utilization)) return QStringLiteral("N.A.");
    const std::string_view name = ReadableCheckName(check);
    return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
}

QTableWidgetItem* Cell(const QString& text, Qt::Alignment alignment) {
    auto* item = new QTableWidgetItem(text);
    item->setTextAlignment(alignment | Qt::AlignVCenter);
    item->setFlags(Qt::ItemIsEnabled);
    return item;
}

} // namespace

TThinnestDesignDialog::TThinnestDesignDialog(const TMatData& project, QWidget* parent, TThinnestSearch search)
    : QDialog(parent), current_(project), search_(std::move(search)) {
    setWindowTitle(QStringLiteral("Find Thinnest Design"));
    if (!search_) {
        // Read here: the worker thread has no business with the locale.
        const char separator = LocaleDecimalSeparator().toLatin1();
        search_ = [separator](const TMatData& mat, const TSearchProgress& progress) {
            return FindThinnestDesign(mat, progress, separator);
        };
    }

    status_ = new QLabel(QStringLiteral("Searching for the thinnest mat that passes every check..."), this);
    status_->setObjectName(QStringLiteral("lblStatus"));
    status_->setWordWrap(true);
    progress_ = new QProgressBar(this);
    progress_->setObjectName(QStringLiteral("barProgress"));
    progress_->setRange(0, ProgressSteps);
    progress_->setValue(0);

    table_ = new QTableWidget(this);
    table_->setObjectName(QStringLiteral("tblProposal"));
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionMode(QAbstractItemView::NoSelection);
    table_->setFocusPolicy(Qt::NoFocus);
    table_->setWordWrap(false);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setSectionsClickable(false);
    table_->horizontalHeader()->setHighlightSections(false);
    table_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    table_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    table_->hide();

    candidates_ = new QLabel(this);
    candidates_->setObjectName(QStringLiteral("lblCandidates"));
    candidates_->hide();

    // Apply joins the buttons only with a proposal to apply.
    buttons_ = new QDialogButtonBox(this);
    QPushButton* cancel = buttons_->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("btnCancel"));
    cancel->setDefault(true);
    connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &TThinnestDesignDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(status_);
    layout->addWidget(progress_);
    layout->addWidget(table_);
    layout->addWidget(candidates_);
    layout->addStretch();
    layout->addWidget(buttons_);
    // The searching line on one line; a reason may wrap.
    setMinimumWidth(std::max(420, status_->fontMetrics().horizontalAdvance(status_->text()) + 40));

    timer_ = new QTimer(this);
    timer_->setInterval(ProgressIntervalMs);
    connect(timer_, &QTimer::timeout, this, &TThinnestDesignDialog::ShowProgress);
    timer_->start();

    // The worker has its own copy; the window's project may be read and
    // drawn meanwhile.
    worker_.reset(QThread::create([this, project = current_] {
        try {
            design_ = search_(project, [this](double fraction) {
                fraction_ = fraction;
                return !cancel_.load();
            });
        } catch (const std::exception& error) {
            failure_ = QString::fromLocal8Bit(error.what());
        }
    }));
    connect(worker_.get(), &QThread::finished, this, &TThinnestDesignDialog::SearchEnded,
            Qt::QueuedConnection);
    worker_->start();
}

TThinnestDesignDialog::~TThinnestDesignDialog() {
    cancel_ = true;
    worker_->wait();
}

bool TThinnestDesignDialog::Searching() const {
    return !worker_->isFinished();
}

const TDesignProposal* TThinnestDesignDialog::Proposal() const {
    return design_ && design_->Found && !design_->Cancelled ? &design_->Proposal : nullptr;
}

void TThinnestDesignDialog::reject() {
    cancel_ = true;
    QDialog::reject();
}

void TThinnestDesignDialog::ShowProgress() {
    progress_->setValue(static_cast<int>(std::lround(fraction_.load() * ProgressSteps)));
}

void TThinnestDesignDialog::SearchEnded() {
    timer_->stop();
    ShowProgress();
    if (cancel_) return;
    progress_->hide();
    if (failure_)
        ShowNoDesign(QStringLiteral("The search stopped: ") + *failure_);
    else if (!design_ || design_->Cancelled)
        ShowNoDesign(QStringLiteral("The search stopped before it ended."));
    else if (!design_->Found)
        ShowNoDesign(Sentence(FromUtf8(design_->Reason)));
    else
        ShowProposal(*design_);
    FitToContents();
}

void TThinnestDesignDialog::ShowNoDesign(const QString& reason) {
    status_->setText(reason);
    if (design_) {
        candidates_->setText(QStringLiteral("%1 candidates analyzed at %2 thicknesses.")
                                 .arg(FormatLocaleGrouped(design_->Candidates, 0),
                                      FormatLocaleGrouped(design_->Thicknesses, 0)));
        candidates_->show();
    }
}

void TThinnestDesignDialog::ShowProposal(const TThinnestDesign& design) {
    const TMatData& m = current_;
    const TDesignProposal& p = design.Proposal;
    const auto box = [&m](int tag, Real value) { return BoxValueText(m, tag, value); };
    const auto bar = [&m](int32_t size) { return FromUtf8(m.BarLabel(size)); };
    const std::pair<TCheck, Real> governing = GoverningCheck(m);
    const QString steelArea = Heading("steel area", m, TQuantity::SteelArea);
    const QString perWidth = FromUtf8(UnitText(TQuantity::SteelArea, m.UnitSystem)) + QLatin1Char('/') +
                             FromUtf8(UnitText(TQuantity::Length, m.UnitSystem));
    struct TRow {
        QString Caption, Current, Proposed;
    };
    const TRow rows[] = {
        {Heading("Thickness, T", m, TQuantity::Length), box(TagThickness, m.Thickness),
         box(TagThickness, p.Thickness)},
        {QStringLiteral("Top bar size"), bar(m.TopBarSize), bar(p.TopBarSize)},
        {QStringLiteral("Bottom bar size"), bar(m.BottomBarSize), bar(p.BottomBarSize)},
        {QStringLiteral("Top bars"), CurrentBars(m, m.TopBarsOverride, m.TopBarsMin),
         box(TagBarsMin, p.TopBars)},
        {QStringLiteral("Bottom bars"), CurrentBars(m, m.BotBarsOverride, m.BotBarsMin),
         box(TagBarsMin, p.BottomBars)},
        {QStringLiteral("Top ") + steelArea, box(TagAsProvided, m.TopAs), box(TagAsProvided, p.TopAs)},
        {QStringLiteral("Bottom ") + steelArea, box(TagAsProvided, m.BotAs), box(TagAsProvided, p.BottomAs)},
        {QStringLiteral("Total steel per width, ") + perWidth,
         box(TagAsProvided, (m.TopAs + m.BotAs) / m.StripWidth), box(TagAsProvided, p.SteelPerWidth)},
        {QStringLiteral("Governing check"), CheckText(governing.first, governing.second),
         CheckText(p.Governing, p.GoverningUtil)},
        {Heading("Utilization", m, TQuantity::Percent), UtilizationNumber(governing.second),
         UtilizationNumber(p.GoverningUtil)},
    };
    table_->setColumnCount(3);
    table_->setRowCount(static_cast<int>(std::size(rows)));
    table_->setHorizontalHeaderLabels({QString(), QStringLiteral("Current"), QStringLiteral("Proposed")});
    table_->horizontalHeaderItem(1)->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    table_->horizontalHeaderItem(2)->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    for (int r = 0; r < table_->rowCount(); ++r) {
        const TRow& row = rows[r];
        table_->setItem(r, 0, Cell(row.Caption, Qt::AlignLeft));
        table_->setItem(r, 1, Cell(row.Current, Qt::AlignRight));
        table_->setItem(r, 2, Cell(row.Proposed, Qt::AlignRight));
    }
    status_->setText(QStringLiteral("The thinnest mat that passes every check:"));
    candidates_->setText(
        QStringLiteral("%1 candidates analyzed at %2 thicknesses.")
            .arg(FormatLocaleGrouped(design.Candidates, 0), FormatLocaleGrouped(design.Thicknesses, 0)));
    candidates_->show();
    table_->show();
    QPushButton* apply = buttons_->addButton(QStringLiteral("Apply"), QDialogButtonBox::AcceptRole);
    apply->setObjectName(QStringLiteral("btnApply"));
    apply->setDefault(true);
    apply->setFocus();
}

void TThinnestDesignDialog::FitToContents() {
    if (table_->isVisibleTo(this)) {
        table_->resizeColumnsToContents();
        table_->resizeRowsToContents();
        // Room for the numbers to breathe beside their captions.
        for (int c = 1; c < table_->columnCount(); ++c)
            table_->setColumnWidth(c, table_->columnWidth(c) + 16);
        int width = 2 * table_->frameWidth();
        for (int c = 0; c < table_->columnCount(); ++c) width += table_->columnWidth(c);
        int height = 2 * table_->frameWidth() + table_->horizontalHeader()->height();
        for (int r = 0; r < table_->rowCount(); ++r) height += table_->rowHeight(r);
        table_->setFixedSize(width, height);
    }
    adjustSize();
}

void ShowThinnestDesign(QWidget* parent, TProjectDocument& document, TDialogs& dialogs) {
    TThinnestDesignDialog dialog(document.Model(), parent);
    dialogs.RunModal(dialog);
    const TDesignProposal* proposal = dialog.Proposal();
    if (dialog.result() != QDialog::Accepted || !proposal) return;
    document.ApplyInputs(QLatin1String(ThinnestDesignCaption),
                         [proposal](TMatData& mat) { ApplyProposal(mat, *proposal); });
}

} // namespace slabwise
