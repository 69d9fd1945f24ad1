#include "ProjectFile.h"

#include "Extended80.h"
#include "MatData.h"
#include "OpenProject.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <istream>
#include <optional>
#include <ostream>
#include <random>
#include <sstream>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <system_error>
#include <unistd.h>
#include <vector>

// Hostile or damaged files are read under these rules:
// - A read past the end delivers nothing. A field cut in two by the end is
//   ignored and nothing after it is read, so every field from the cut on keeps
//   its new-project value; the read reports the captions of those fields.
// - A logo size larger than what the file still holds is never acted on, and
//   no buffer is ever larger than the bytes actually present; a logo size of
//   zero or below means no logo. A logo size above MaxLogoBytes, and logo
//   bytes that are not a JPEG, raise the decoder's EJpegError.
// - Counts below zero or above the model's arrays, texts longer than 255
//   bytes, and unit systems, shapes or bar systems the program does not know
//   raise EWrongFileFormat. The header has been accepted by then, so the model
//   is already reset and partly read: OpenProject reads into a model of its
//   own for that reason.

namespace slabwise {

namespace {

constexpr std::string_view Signature = "Kelvane Slabwise";
constexpr std::string_view VersionText = "0.5";
// Appends the soil flag; written only when the flag is set.
constexpr std::string_view SoilFlagVersionText = "0.6";
constexpr size_t SignatureOffset = 0;
constexpr size_t SignatureField = 50;
constexpr size_t VersionOffset = 51;
constexpr size_t VersionField = 12;
constexpr size_t HeaderSize = 64;
constexpr size_t MaxTextLength = 255;
// Logos read from streams that cannot tell their length grow by this much at
// a time, so a false size costs at most one step beyond the real bytes.
constexpr size_t LogoChunk = size_t{1} << 20;
// A version text that does not convert reads as this, which is refused.
constexpr double UnreadableVersion = 999;

template <typename T> T LittleEndian(const uint8_t* bytes) {
    T value = 0;
    for (size_t i = sizeof(T); i-- > 0;) value = static_cast<T>((value << 8) | bytes[i]);
    return value;
}

double ParseVersion(const uint8_t* header) {
    const size_t length = header[VersionOffset];
    if (length == 0 || length > VersionField) return UnreadableVersion;
    // from_chars ignores the global locale, so "0.5" reads the same whatever
    // the user's decimal separator is.
    const char* first = reinterpret_cast<const char*>(header + VersionOffset + 1);
    double version = 0;
    const auto [end, error] = std::from_chars(first, first + length, version);
    if (error != std::errc{} || end != first + length) return UnreadableVersion;
    return version;
}

// Reads straight from the stream buffer, so the stream's state and exception
// mask play no part; a read error of the file still arrives as the
// std::ios_base::failure its buffer throws.
class TReader {
public:
    explicit TReader(std::istream& in) : buffer_(in.rdbuf()) {}

    // Names the field the next reads belong to. Once the file has ended, the
    // field goes on the list of what was not read.
    TReader& At(std::string field) {
        field_ = std::move(field);
        if (ended_) NotRead(field_);
        return *this;
    }

    const std::vector<std::string>& Unread() const { return unread_; }

    // False, and target untouched, when the file ends before n bytes.
    bool Bytes(void* target, size_t n) {
        if (ended_ || buffer_ == nullptr) return Stop();
        const auto wanted = static_cast<std::streamsize>(n);
        if (buffer_->sgetn(static_cast<char*>(target), wanted) != wanted) return Stop();
        return true;
    }

    template <typename T> bool UInt(T& target) {
        uint8_t bytes[sizeof(T)];
        if (!Bytes(bytes, sizeof bytes)) return false;
        target = LittleEndian<T>(bytes);
        return true;
    }

    bool Byte(uint8_t& target) { return Bytes(&target, 1); }

    bool Int32(int32_t& target) {
        uint32_t raw = 0;
        if (!UInt(raw)) return false;
        target = static_cast<int32_t>(raw);
        return true;
    }

    bool Int64(int64_t& target) {
        uint64_t raw = 0;
        if (!UInt(raw)) return false;
        target = static_cast<int64_t>(raw);
        return true;
    }

    bool Double(double& target) {
        uint64_t raw = 0;
        if (!UInt(raw)) return false;
        target = std::bit_cast<double>(raw);
        return true;
    }

    bool Ext(Real& target) {
        TExtended80 bytes{};
        if (!Bytes(bytes.data(), bytes.size())) return false;
        target = DecodeExtended80(bytes);
        return true;
    }

    // An int32 that must lie in [0, max]; anything else is not our file.
    bool Bounded(int32_t& target, int32_t max) {
        int32_t value = 0;
        if (!Int32(value)) return false;
        if (value < 0 || value > max) throw EWrongFileFormat();
        target = value;
        return true;
    }

    bool Text(std::string& target) {
        uint16_t length = 0;
        if (!UInt(length)) return false;
        if (length > MaxTextLength) throw EWrongFileFormat();
        char bytes[MaxTextLength];
        if (!Bytes(bytes, length)) return false;
        target.assign(bytes, ::strnlen(bytes, length));
        return true;
    }

    bool Logo(std::optional<TJpegImage>& target) {
        int64_t size = 0;
        if (!Int64(size)) return false;
        if (size <= 0) return true;
        const auto wanted = static_cast<uint64_t>(size);
        // Refused before the stream is asked anything: a pipe cannot say how
        // much it still holds, and one that never ends would be read for as
        // long as the size says.
        if (wanted > MaxLogoBytes) throw LogoTooLarge(wanted);
        const std::optional<uint64_t> remaining = Remaining();
        if (remaining && wanted > *remaining) return Stop();

        std::vector<uint8_t> bytes;
        if (remaining) {
            bytes.resize(static_cast<size_t>(wanted));
            if (!Bytes(bytes.data(), bytes.size())) return false;
        } else {
            while (bytes.size() < wanted) {
                const size_t have = bytes.size();
                const size_t step = static_cast<size_t>(std::min<uint64_t>(LogoChunk, wanted - have));
                bytes.resize(have + step);
                if (!Bytes(bytes.data() + have, step)) return false;
            }
        }
        target = TJpegImage::FromJpegBytes(std::move(bytes));
        return true;
    }

private:
    bool Stop() {
        if (!ended_ && !field_.empty()) NotRead(field_);
        ended_ = true;
        return false;
    }

    void NotRead(const std::string& field) {
        if (unread_.empty() || unread_.back() != field) unread_.emplace_back(field);
    }

    // Bytes left in the stream, when the stream can say without reading.
    std::optional<uint64_t> Remaining() {
        if (buffer_ == nullptr) return 0;
        const auto failed = std::streampos(std::streamoff(-1));
        const std::streampos here = buffer_->pubseekoff(0, std::ios::cur, std::ios::in);
        if (here == failed) return std::nullopt;
        const std::streampos end = buffer_->pubseekoff(0, std::ios::end, std::ios::in);
        if (buffer_->pubseekpos(here, std::ios::in) != here)
            throw std::ios_base::failure("Cannot return to the read position of the project");
        if (end == failed) return std::nullopt;
        return end > here ? static_cast<uint64_t>(end - here) : 0;
    }

    std::streambuf* buffer_;
    bool ended_ = false;
    std::string field_;
    std::vector<std::string> unread_;
};

class TWriter {
public:
    explicit TWriter(std::ostream& out) : out_(out) {}

    void Bytes(const void* data, size_t n) {
        out_.write(static_cast<const char*>(data), static_cast<std::streamsize>(n));
    }

    template <typename T> void UInt(T value) {
        uint8_t bytes[sizeof(T)];
        for (size_t i = 0; i < sizeof(T); ++i) bytes[i] = static_cast<uint8_t>(value >> (8 * i));
        Bytes(bytes, sizeof bytes);
    }

    void Byte(uint8_t value) { Bytes(&value, 1); }
    void Int32(int32_t value) { UInt(static_cast<uint32_t>(value)); }
    void Int64(int64_t value) { UInt(static_cast<uint64_t>(value)); }
    void Double(double value) { UInt(std::bit_cast<uint64_t>(value)); }

    void Ext(Real value) {
        const TExtended80 bytes = EncodeExtended80(value);
        Bytes(bytes.data(), bytes.size());
    }

    // The format holds at most 255 bytes of text; longer texts are cut.
    void Text(const std::string& text) {
        const size_t length = std::min(text.size(), MaxTextLength);
        UInt(static_cast<uint16_t>(length));
        Bytes(text.data(), length);
    }

    void Logo(const std::optional<TJpegImage>& logo) {
        if (!logo) {
            Int64(0);
            return;
        }
        const std::vector<uint8_t>& bytes = logo->Bytes();
        Int64(static_cast<int64_t>(bytes.size()));
        Bytes(bytes.data(), bytes.size());
    }

private:
    std::ostream& out_;
};

std::filesystem::filesystem_error FileError(const std::string& what, const std::filesystem::path& path,
                                            int error) {
    return std::filesystem::filesystem_error(what, path, std::error_code(error, std::generic_category()));
}

// A temporary file beside the target, removed again unless it has been
// renamed over the target.
class TTemporaryFile {
public:
    explicit TTemporaryFile(const std::filesystem::path& target) : target_(target) {
        static constexpr char Letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
        std::random_device seed;
        std::mt19937 random(seed());
        std::uniform_int_distribution<size_t> pick(0, sizeof Letters - 2);
        for (int attempt = 0; attempt < 100; ++attempt) {
            std::string suffix = ".tmp-";
            for (int i = 0; i < 8; ++i) suffix += Letters[pick(random)];
            path_ = target.native() + suffix;
            // 0666 lets the umask decide, as for any file the user creates.
            fd_ = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (fd_ >= 0) return;
            if (errno != EEXIST) break;
        }
        Fail("Cannot create a temporary file to save");
    }

    ~TTemporaryFile() {
        if (fd_ >= 0) ::close(fd_);
        if (!renamed_) ::unlink(path_.c_str());
    }

    TTemporaryFile(const TTemporaryFile&) = delete;
    TTemporaryFile& operator=(const TTemporaryFile&) = delete;

    void Write(std::string_view bytes) {
        const char* next = bytes.data();
        size_t left = bytes.size();
        while (left > 0) {
            const ssize_t written = ::write(fd_, next, left);
            if (written < 0) {
                if (errno == EINTR) continue;
                Fail("Cannot write");
            }
            next += written;
            left -= static_cast<size_t>(written);
        }
    }

    // Keeps the permissions of a file that is being replaced.
    void TakeModeOf(const std::filesystem::path& existing) {
        struct stat status {};
        if (::stat(existing.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) return;
        if (::fchmod(fd_, status.st_mode & 07777) != 0) Fail("Cannot set the permissions of");
    }

    void CommitOverTarget() {
        if (::fsync(fd_) != 0) Fail("Cannot write");
        const int fd = fd_;
        fd_ = -1;
        if (::close(fd) != 0) Fail("Cannot write");
        if (::rename(path_.c_str(), target_.c_str()) != 0) Fail("Cannot replace");
        renamed_ = true;
        SyncFolder();
    }

private:
    // Reads errno before anything else can change it.
    [[noreturn]] void Fail(const char* what) const {
        const int error = errno;
        throw std::filesystem::filesystem_error(what, target_, path_,
                                                std::error_code(error, std::generic_category()));
    }

    // Makes the rename itself durable. The project is already saved when this
    // runs, so a folder that cannot be synced is no failure of the save.
    void SyncFolder() const {
        std::filesystem::path folder = target_.parent_path();
        if (folder.empty()) folder = ".";
        const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0) return;
        ::fsync(fd);
        ::close(fd);
    }

    std::filesystem::path target_;
    std::filesystem::path path_;
    int fd_ = -1;
    bool renamed_ = false;
};

bool WritableRegularFile(const std::filesystem::path& path) {
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode) && ::access(path.c_str(), W_OK) == 0;
}

// Rewrites an existing file through its own descriptor. Not atomic, so the
// blocks the new content needs are reserved first: a full disk or a size
// limit then fails the save before the old content is touched.
void WriteInPlace(const std::filesystem::path& target, std::string_view bytes) {
    const auto fail = [&target](const char* what, int error) {
        throw std::filesystem::filesystem_error(what, target,
                                                std::error_code(error, std::generic_category()));
    };
    const int fd = ::open(target.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) fail("Cannot open to save", errno);
    struct TCloser {
        int fd;
        ~TCloser() {
            if (fd >= 0) ::close(fd);
        }
    } closer{fd};
    const auto size = static_cast<off_t>(bytes.size());
    if (size > 0) {
        const int reserved = ::posix_fallocate(fd, 0, size);
        if (reserved == EOPNOTSUPP || reserved == EINVAL) {
            // A file system that cannot reserve still tells its free space.
            struct stat status {};
            struct statvfs space {};
            if (::fstat(fd, &status) == 0 && ::fstatvfs(fd, &space) == 0 && status.st_size < size &&
                static_cast<uint64_t>(space.f_bavail) * space.f_frsize <
                    static_cast<uint64_t>(size - status.st_size))
                fail("Not enough space to save", ENOSPC);
        } else if (reserved != 0) {
            fail("Not enough space to save", reserved);
        }
    }
    const char* next = bytes.data();
    size_t left = bytes.size();
    off_t at = 0;
    while (left > 0) {
        const ssize_t written = ::pwrite(fd, next, left, at);
        if (written < 0) {
            if (errno == EINTR) continue;
            fail("Cannot write", errno);
        }
        next += written;
        at += written;
        left -= static_cast<size_t>(written);
    }
    if (::ftruncate(fd, size) != 0) fail("Cannot write", errno);
    if (::fsync(fd) != 0) fail("Cannot write", errno);
    closer.fd = -1;
    if (::close(fd) != 0) fail("Cannot write", errno);
}

} // namespace

void TMatData::SaveToStream(std::ostream& out) const {
    TWriter w(out);
    uint8_t header[HeaderSize] = {};
    header[SignatureOffset] = static_cast<uint8_t>(Signature.size());
    std::memcpy(header + SignatureOffset + 1, Signature.data(), Signature.size());
    const std::string_view version = SoilTakesNoTension ? SoilFlagVersionText : VersionText;
    header[VersionOffset] = static_cast<uint8_t>(version.size());
    std::memcpy(header + VersionOffset + 1, version.data(), version.size());
    w.Bytes(header, sizeof header);

    w.Text(Organization);
    w.Logo(Logo);
    w.Text(ProjectName);
    w.Text(JobNumber);
    w.Text(DesignedBy);
    w.Double(ProjectDate);
    w.Byte(UnitSystem);
    w.Int32(Shape);
    for (Real value : {StripWidth, StripLength, Thickness, ConcreteModulus, SubgradeModulus, AllowableBearing,
                       FullUniformLoad, EffWidthPercent})
        w.Ext(value);

    w.Int32(UserPointCount);
    for (Real x : UserX) w.Ext(x);
    w.Int32(DistLoadCount);
    for (const TDistLoad& load : DistLoads) {
        w.Ext(load.b);
        w.Ext(load.e);
        w.Ext(load.wb);
        w.Ext(load.we);
    }
    w.Int32(PointLoadCount);
    for (const TPointLoad& load : PointLoads) {
        w.Ext(load.a);
        w.Ext(load.P);
    }
    w.Int32(MomentCount);
    for (const TAppliedMoment& moment : Moments) {
        w.Ext(moment.c);
        w.Ext(moment.M);
    }

    w.Byte(UseReinforcement);
    w.Int32(BarSystem);
    w.Ext(Fy);
    w.Ext(Fc);
    w.Ext(TopCover);
    w.Int32(TopBarSize);
    w.Ext(TopBarsOverride);
    w.Ext(BottomCover);
    w.Int32(BottomBarSize);
    w.Ext(BotBarsOverride);
    w.Ext(ShearLoadFactor);
    w.Ext(MomentLoadFactor);
    if (SoilTakesNoTension) w.Byte(1);

    out.flush();
    if (!out) throw std::ios_base::failure("Cannot write the project");
}

void TMatData::SaveToFile(const std::filesystem::path& fileName) const {
    // The whole project is formatted before the file system is touched, and
    // the target is replaced only by a complete, synced copy.
    std::ostringstream buffer;
    SaveToStream(buffer);
    // Saving through a symbolic link replaces the file it points to, not the link.
    std::error_code ec;
    std::filesystem::path target = fileName;
    if (std::filesystem::is_symlink(fileName, ec)) {
        std::filesystem::path resolved = std::filesystem::weakly_canonical(fileName, ec);
        if (!ec) target = std::move(resolved);
    }
    std::optional<TTemporaryFile> temporary;
    try {
        temporary.emplace(target);
    } catch (const std::filesystem::filesystem_error& e) {
        // A folder the user may not write to can still hold a file the user
        // may write: then that file is rewritten where it is.
        const int error = e.code().value();
        if ((error != EACCES && error != EPERM) || !WritableRegularFile(target)) throw;
        WriteInPlace(target, buffer.view());
        return;
    }
    temporary->Write(buffer.view());
    temporary->TakeModeOf(target);
    temporary->CommitOverTarget();
}

TReadReport TMatData::LoadFromStream(std::istream& in) {
    return ReadProject(in, true);
}

TReadReport TMatData::LoadFromFile(const std::filesystem::path& fileName) {
    std::error_code ec;
    if (std::filesystem::is_directory(fileName, ec)) throw FileError("Cannot open project", fileName, EISDIR);
    errno = 0;
    std::ifstream in(fileName, std::ios::binary);
    if (!in) throw FileError("Cannot open project", fileName, errno != 0 ? errno : EIO);
    try {
        return ReadProject(in, true);
    } catch (const std::ios_base::failure& failure) {
        throw std::filesystem::filesystem_error(std::string("Cannot read project: ") + failure.what(),
                                                fileName, failure.code());
    }
}

TReadReport TMatData::ReadProject(std::istream& in, bool resetWithExample) {
    TReader r(in);
    uint8_t header[HeaderSize] = {};
    if (!r.Bytes(header, sizeof header)) throw EWrongFileFormat();
    const std::string_view signature(reinterpret_cast<const char*>(header + SignatureOffset + 1),
                                     std::min<size_t>(header[SignatureOffset], SignatureField));
    const double version = ParseVersion(header);
    if (header[SignatureOffset] != Signature.size() || signature != Signature ||
        !(version <= ProjectFileVersion))
        throw EWrongFileFormat();

    if (resetWithExample)
        SetDefaults();
    else
        ApplyBuiltInDefaults();
    FileVersion = version;

    // Every read below leaves its field alone once the file has ended, so
    // the sequence needs no early exits; the reader lists what it missed.
    r.At("Organization").Text(Organization);
    r.At("Logo").Logo(Logo);
    r.At("Project Name").Text(ProjectName);
    r.At("Job #").Text(JobNumber);
    r.At("Design by").Text(DesignedBy);
    r.At("Date").Double(ProjectDate);
    uint8_t unitSystem = UnitSystem;
    if (r.At("Units").Byte(unitSystem) && unitSystem != UnitsEnglish && unitSystem != UnitsSI)
        throw EWrongFileFormat();
    SetUnitSystem(unitSystem);

    if (version >= 0.4) r.At("Shape").Bounded(Shape, 1);
    r.At(FieldCaption::StripWidth).Ext(StripWidth);
    r.At(FieldCaption::StripLength).Ext(StripLength);
    r.At(FieldCaption::Thickness).Ext(Thickness);
    r.At(FieldCaption::ConcreteModulus).Ext(ConcreteModulus);
    r.At(FieldCaption::SubgradeModulus).Ext(SubgradeModulus);
    if (version >= 0.3) r.At(FieldCaption::AllowableBearing).Ext(AllowableBearing);
    r.At(FieldCaption::FullUniformLoad).Ext(FullUniformLoad);
    r.At(FieldCaption::EffWidthPercent).Ext(EffWidthPercent);

    int32_t count = 0;
    r.At("User Designated Points").Bounded(count, UserPointCount);
    for (int32_t i = 0; i < count; ++i) r.At(FieldCaption::UserPoint(i)).Ext(UserX[static_cast<size_t>(i)]);
    count = 0;
    r.At("Distributed Loads").Bounded(count, DistLoadCount);
    for (int32_t i = 0; i < count; ++i) {
        TDistLoad& load = DistLoads[static_cast<size_t>(i)];
        r.At(FieldCaption::DistLoad(i));
        r.Ext(load.b);
        r.Ext(load.e);
        r.Ext(load.wb);
        r.Ext(load.we);
    }
    count = 0;
    r.At("Point Loads").Bounded(count, PointLoadCount);
    for (int32_t i = 0; i < count; ++i) {
        TPointLoad& load = PointLoads[static_cast<size_t>(i)];
        r.At(FieldCaption::PointLoad(i));
        r.Ext(load.a);
        r.Ext(load.P);
    }
    count = 0;
    r.At("Moments").Bounded(count, MomentCount);
    for (int32_t i = 0; i < count; ++i) {
        TAppliedMoment& moment = Moments[static_cast<size_t>(i)];
        r.At(FieldCaption::Moment(i));
        r.Ext(moment.c);
        r.Ext(moment.M);
    }

    if (version >= 0.2) {
        r.At("Use Reinforcement").Byte(UseReinforcement);
        r.At("Rebar Sizes").Bounded(BarSystem, BarSystemCanadian);
        r.At(FieldCaption::Fy).Ext(Fy);
        r.At(FieldCaption::Fc).Ext(Fc);
        r.At(FieldCaption::TopCover).Ext(TopCover);
        r.At(FieldCaption::TopBarSize).Int32(TopBarSize);
        r.At(FieldCaption::TopBarsOverride).Ext(TopBarsOverride);
        r.At(FieldCaption::BottomCover).Ext(BottomCover);
        r.At(FieldCaption::BottomBarSize).Int32(BottomBarSize);
        r.At(FieldCaption::BotBarsOverride).Ext(BotBarsOverride);
    }
    if (version >= 0.5) {
        r.At(FieldCaption::ShearLoadFactor).Ext(ShearLoadFactor);
        r.At(FieldCaption::MomentLoadFactor).Ext(MomentLoadFactor);
    }
    if (version >= 0.6) {
        uint8_t flag = 0;
        if (r.At("Soil takes no tension").Byte(flag)) {
            if (flag > 1) throw EWrongFileFormat();
            SoilTakesNoTension = flag;
        }
    }
    return TReadReport{r.Unread()};
}

} // namespace slabwise
