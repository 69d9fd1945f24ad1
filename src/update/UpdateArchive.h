#pragma once

#include <QString>
#include <QtGlobal>

#include <atomic>

namespace slabwise {

// Bounds of one unpacked update against archives that expand without end.
struct TUnpackLimits {
    qint64 MaxTotalBytes = qint64{1} << 30;
    int MaxEntries = 10000;
};

enum class TUnpackResult {
    Unpacked,
    NotAnArchive,
    RefusedEntry,
    TooLarge,
    TooManyEntries,
    WriteFailed,
    Cancelled
};

// Shared with the thread that unpacks: what the archive declares, what is
// written so far, and a request to stop.
struct TUnpackProgress {
    std::atomic<qint64> Declared{0};
    std::atomic<qint64> Written{0};
    std::atomic<bool> Cancel{false};
};

struct TUnpackOutcome {
    TUnpackResult Result = TUnpackResult::Unpacked;
    // The entry that stopped the unpacking.
    QString Entry;
};

// Whether an archive entry's name stays inside the folder it is unpacked
// into: not absolute, no drive prefix, no ".." segment.
bool SafeEntryName(const QString& name);

// Unpacks a zip archive into an existing, empty folder. Every entry is
// checked before anything is written; on any refusal or failure the
// folder's contents are removed again.
TUnpackOutcome UnpackArchive(const QString& archive, const QString& folder, const TUnpackLimits& limits = {},
                             TUnpackProgress* progress = nullptr);

} // namespace slabwise
