#include "ProjectFile.h"

#include "Extended80.h"
#include "MatData.h"
#include "OpenProject.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <charconv>
#include <concepts>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <initializer_list>
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
#include <type_traits>
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

struct TVersion {
    std::string_view Text;
    double Number;
};
// Files are written as 0.5, which every earlier reader of that version
// understands, as 0.6 only when they need the soil flag it appends, and as
// 0.7 only when they need the column sizes it appends after that.
constexpr TVersion WrittenVersion{"0.5", 0.5};
constexpr TVersion SoilFlagVersion{"0.6", 0.6};
constexpr TVersion ColumnVersion{"0.7", 0.7};
static_assert(ColumnVersion.Number == ProjectFileVersion);

constexpr size_t Entry(int32_t index) {
    return static_cast<size_t>(index);
}

// The project file after its header, one line per field in file order, each
// under the caption a read report names it by. Saving walks it with a TWriter
// and opening with a TReader, so the two cannot disagree. A field added in a
// later version than the file's is not in the file and keeps its new-project
// value, which the read reports as lacking. A list is stored with its count;
// the writer stores every entry. The soil flag and the column sizes are not
// reported as lacking: files without them are written so because the soil
// takes tension and no load has a column, which is what their built-in
// values say.
template <typename TStream, typename TMat>
requires std::same_as<std::remove_const_t<TMat>, TMatData>
void Transfer(TStream& s, TMat& m, double version) {
    namespace C = FieldCaption;
    s.At("Organization").Text(m.Organization);
    s.At("Logo").Logo(m.Logo);
    s.At("Project Name").Text(m.ProjectName);
    s.At("Job #").Text(m.JobNumber);
    s.At("Design by").Text(m.DesignedBy);
    s.At("Date").Double(m.ProjectDate);
    s.At("Units").OneOf(m.UnitSystem, {UnitsEnglish, UnitsSI});
    // The input limits and the built-in values of what the file lacks follow
    // the unit system.
    if constexpr (TStream::Reads) {
        m.SetUnitSystem(m.UnitSystem);
        m.ApplyBuiltInInputs();
    }
    if (version >= 0.4)
        s.At(C::Shape).Bounded(m.Shape, 1);
    else
        s.Lacks(C::Shape);
    s.At(C::StripWidth).Ext(m.StripWidth);
    s.At(C::StripLength).Ext(m.StripLength);
    s.At(C::Thickness).Ext(m.Thickness);
    s.At(C::ConcreteModulus).Ext(m.ConcreteModulus);
    s.At(C::SubgradeModulus).Ext(m.SubgradeModulus);
    if (version >= 0.3)
        s.At(C::AllowableBearing).Ext(m.AllowableBearing);
    else
        s.Lacks(C::AllowableBearing);
    s.At(C::FullUniformLoad).Ext(m.FullUniformLoad);
    s.At(C::EffWidthPercent).Ext(m.EffWidthPercent);

    const int32_t userPoints = s.At("User Designated Points").Count(UserPointCount);
    for (int32_t i = 0; i < userPoints; ++i) s.At(C::UserPoint(i)).Ext(m.UserX[Entry(i)]);
    const int32_t distLoads = s.At("Distributed Loads").Count(DistLoadCount);
    for (int32_t i = 0; i < distLoads; ++i) {
        auto& load = m.DistLoads[Entry(i)];
        s.At(C::DistLoad(i)).Ext(load.b).Ext(load.e).Ext(load.wb).Ext(load.we);
    }
    const int32_t pointLoads = s.At("Point Loads").Count(PointLoadCount);
    for (int32_t i = 0; i < pointLoads; ++i) {
        auto& load = m.PointLoads[Entry(i)];
        s.At(C::PointLoad(i)).Ext(load.a).Ext(load.P);
    }
    const int32_t moments = s.At("Moments").Count(MomentCount);
    for (int32_t i = 0; i < moments; ++i) {
        auto& moment = m.Moments[Entry(i)];
        s.At(C::Moment(i)).Ext(moment.c).Ext(moment.M);
    }

    if (version >= 0.2) {
        s.At(C::UseReinforcement).Byte(m.UseReinforcement);
        s.At(C::BarSystem).Bounded(m.BarSystem, BarSystemCanadian);
        s.At(C::Fy).Ext(m.Fy);
        s.At(C::Fc).Ext(m.Fc);
        s.At(C::TopCover).Ext(m.TopCover);
        s.At(C::TopBarSize).Int32(m.TopBarSize);
        s.At(C::TopBarsOverride).Ext(m.TopBarsOverride);
        s.At(C::BottomCover).Ext(m.BottomCover);
        s.At(C::BottomBarSize).Int32(m.BottomBarSize);
        s.At(C::BotBarsOverride).Ext(m.BotBarsOverride);
    } else {
        for (const char* caption :
             {C::UseReinforcement, C::BarSystem, C::Fy, C::Fc, C::TopCover, C::TopBarSize, C::TopBarsOverride,
              C::BottomCover, C::BottomBarSize, C::BotBarsOverride})
            s.Lacks(caption);
    }
    if (version >= 0.5) {
        s.At(C::ShearLoadFactor).Ext(m.ShearLoadFactor);
        s.At(C::MomentLoadFactor).Ext(m.MomentLoadFactor);
    } else {
        s.Lacks(C::ShearLoadFactor);
        s.Lacks(C::MomentLoadFactor);
    }
    if (version >= SoilFlagVersion.Number) s.At("Soil takes no tension").Flag(m.SoilTakesNoTension);
    // Always twelve pairs, one per point load, without a count.
    if (version >= ColumnVersion.Number)
        for (int32_t i = 0; i < PointLoadCount; ++i) {
            auto& column = m.Columns[Entry(i)];
            s.At("Column of point load #" + std::to_string(i + 1)).Ext(column.c1).Ext(column.c2);
        }
}

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
// std::ios_base::failure its buffer throws. Once the file has ended, every
// field read leaves its target untouched, so a layout needs no early exits.
class TReader {
public:
    static constexpr bool Reads = true;

    explicit TReader(std::istream& in) : buffer_(in.rdbuf()) {}

    // Names the field the next reads belong to. Once the file has ended, the
    // field goes on the list of what was not read.
    TReader& At(std::string field) {
        field_ = std::move(field);
        if (ended_) NotRead(field_);
        return *this;
    }

    const std::vector<std::string>& Unread() const { return unread_; }

    // A field older versions of the file do not hold.
    void Lacks(std::string field) { lacking_.push_back(std::move(field)); }
    const std::vector<std::string>& Lacking() const { return lacking_; }

    // False, and target untouched, when the file ends before n bytes.
    bool Bytes(void* target, size_t n) {
        if (ended_ || buffer_ == nullptr) return Stop();
        const auto wanted = static_cast<std::streamsize>(n);
        if (buffer_->sgetn(static_cast<char*>(target), wanted) != wanted) return Stop();
        return true;
    }

    TReader& Byte(uint8_t& target) {
        Bytes(&target, 1);
        return *this;
    }

    TReader& Int32(int32_t& target) {
        uint32_t raw = 0;
        if (UInt(raw)) target = static_cast<int32_t>(raw);
        return *this;
    }

    TReader& Double(double& target) {
        uint64_t raw = 0;
        if (UInt(raw)) target = std::bit_cast<double>(raw);
        return *this;
    }

    TReader& Ext(Real& target) {
        TExtended80 bytes{};
        if (Bytes(bytes.data(), bytes.size())) target = DecodeExtended80(bytes);
        return *this;
    }

    // An int32 that must lie in [0, max]; anything else is not our file.
    TReader& Bounded(int32_t& target, int32_t max) {
        uint32_t raw = 0;
        if (!UInt(raw)) return *this;
        const auto value = static_cast<int32_t>(raw);
        if (value < 0 || value > max) throw EWrongFileFormat();
        target = value;
        return *this;
    }

    // The number of entries that follow in a list with room for capacity.
    int32_t Count(int32_t capacity) {
        int32_t count = 0;
        Bounded(count, capacity);
        return count;
    }

    // A byte that must be one of allowed.
    TReader& OneOf(uint8_t& target, std::initializer_list<uint8_t> allowed) {
        uint8_t value = 0;
        if (!Bytes(&value, 1)) return *this;
        if (std::find(allowed.begin(), allowed.end(), value) == allowed.end()) throw EWrongFileFormat();
        target = value;
        return *this;
    }

    TReader& Flag(uint8_t& target) { return OneOf(target, {0, 1}); }

    TReader& Text(std::string& target) {
        uint16_t length = 0;
        if (!UInt(length)) return *this;
        if (length > MaxTextLength) throw EWrongFileFormat();
        char bytes[MaxTextLength];
        if (Bytes(bytes, length)) target.assign(bytes, ::strnlen(bytes, length));
        return *this;
    }

    TReader& Logo(std::optional<TJpegImage>& target) {
        std::vector<uint8_t> bytes;
        if (LogoBytes(bytes) && !bytes.empty()) target = TJpegImage::FromJpegBytes(std::move(bytes));
        return *this;
    }

private:
    template <typename T> bool UInt(T& target) {
        uint8_t bytes[sizeof(T)];
        if (!Bytes(bytes, sizeof bytes)) return false;
        target = LittleEndian<T>(bytes);
        return true;
    }

    // Leaves bytes empty for a size of zero or below, which means no logo.
    bool LogoBytes(std::vector<uint8_t>& bytes) {
        uint64_t raw = 0;
        if (!UInt(raw)) return false;
        const auto size = static_cast<int64_t>(raw);
        if (size <= 0) return true;
        const auto wanted = static_cast<uint64_t>(size);
        // Refused before the stream is asked anything: a pipe cannot say how
        // much it still holds, and one that never ends would be read for as
        // long as the size says.
        if (wanted > MaxLogoBytes) throw LogoTooLarge(wanted);
        const std::optional<uint64_t> remaining = Remaining();
        if (remaining && wanted > *remaining) return Stop();

        if (remaining) {
            bytes.resize(static_cast<size_t>(wanted));
            return Bytes(bytes.data(), bytes.size());
        }
        while (bytes.size() < wanted) {
            const size_t have = bytes.size();
            const size_t step = static_cast<size_t>(std::min<uint64_t>(LogoChunk, wanted - have));
            bytes.resize(have + step);
            if (!Bytes(bytes.data() + have, step)) return false;
        }
        return true;
    }

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
    std::vector<std::string> lacking_;
};

// Stores what the model holds as it is: the limits a TReader enforces are its
// defence against foreign files, not rules for the writer.
class TWriter {
public:
    static constexpr bool Reads = false;

    explicit TWriter(std::ostream& out) : out_(out) {}

    TWriter& At(std::string_view) { return *this; }
    void Lacks(std::string_view) {}

    void Bytes(const void* data, size_t n) {
        out_.write(static_cast<const char*>(data), static_cast<std::streamsize>(n));
    }

    TWriter& Byte(uint8_t value) {
        Bytes(&value, 1);
        return *this;
    }

    TWriter& Int32(int32_t value) { return UInt(static_cast<uint32_t>(value)); }
    TWriter& Double(double value) { return UInt(std::bit_cast<uint64_t>(value)); }

    TWriter& Ext(Real value) {
        const TExtended80 bytes = EncodeExtended80(value);
        Bytes(bytes.data(), bytes.size());
        return *this;
    }

    TWriter& Bounded(int32_t value, int32_t) { return Int32(value); }

    // Every list is stored full.
    int32_t Count(int32_t capacity) {
        Int32(capacity);
        return capacity;
    }

    TWriter& OneOf(uint8_t value, std::initializer_list<uint8_t>) { return Byte(value); }
    TWriter& Flag(uint8_t value) { return Byte(value != 0 ? 1 : 0); }

    // The format holds at most 255 bytes of text; longer texts are cut.
    TWriter& Text(const std::string& text) {
        const size_t length = std::min(text.size(), MaxTextLength);
        UInt(static_cast<uint16_t>(length));
        Bytes(text.data(), length);
        return *this;
    }

    TWriter& Logo(const std::optional<TJpegImage>& logo) {
        if (!logo) return UInt(uint64_t{0});
        const std::vector<uint8_t>& bytes = logo->Bytes();
        UInt(static_cast<uint64_t>(bytes.size()));
        Bytes(bytes.data(), bytes.size());
        return *this;
    }

private:
    template <typename T> TWriter& UInt(T value) {
        uint8_t bytes[sizeof(T)];
        for (size_t i = 0; i < sizeof(T); ++i) bytes[i] = static_cast<uint8_t>(value >> (8 * i));
        Bytes(bytes, sizeof bytes);
        return *this;
    }

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

// The lowest version that holds the whole project.
const TVersion& VersionFor(const TMatData& m) {
    const bool columns = std::any_of(m.Columns.begin(), m.Columns.end(),
                                     [](const TColumn& c) { return c.c1 != 0 || c.c2 != 0; });
    if (columns) return ColumnVersion;
    return m.SoilTakesNoTension ? SoilFlagVersion : WrittenVersion;
}

} // namespace

void TMatData::SaveToStream(std::ostream& out) const {
    const TVersion& version = VersionFor(*this);
    TWriter w(out);
    uint8_t header[HeaderSize] = {};
    header[SignatureOffset] = static_cast<uint8_t>(Signature.size());
    std::memcpy(header + SignatureOffset + 1, Signature.data(), Signature.size());
    header[VersionOffset] = static_cast<uint8_t>(version.Text.size());
    std::memcpy(header + VersionOffset + 1, version.Text.data(), version.Text.size());
    w.Bytes(header, sizeof header);
    Transfer(w, *this, version.Number);

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
    return ReadProject(in);
}

TReadReport TMatData::LoadFromFile(const std::filesystem::path& fileName) {
    std::error_code ec;
    if (std::filesystem::is_directory(fileName, ec)) throw FileError("Cannot open project", fileName, EISDIR);
    errno = 0;
    std::ifstream in(fileName, std::ios::binary);
    if (!in) throw FileError("Cannot open project", fileName, errno != 0 ? errno : EIO);
    try {
        return ReadProject(in);
    } catch (const std::ios_base::failure& failure) {
        throw std::filesystem::filesystem_error(std::string("Cannot read project: ") + failure.what(),
                                                fileName, failure.code());
    }
}

TReadReport TMatData::ReadProject(std::istream& in) {
    TReader r(in);
    uint8_t header[HeaderSize] = {};
    if (!r.Bytes(header, sizeof header)) throw EWrongFileFormat();
    const std::string_view signature(reinterpret_cast<const char*>(header + SignatureOffset + 1),
                                     std::min<size_t>(header[SignatureOffset], SignatureField));
    const double version = ParseVersion(header);
    if (header[SignatureOffset] != Signature.size() || signature != Signature ||
        !(version <= ProjectFileVersion))
        throw EWrongFileFormat();

    // Nothing comes from the project open before or from an example: a file
    // reads the same wherever and whenever it is opened. Until the file
    // says otherwise its unit system is English.
    UnitSystem = UnitsEnglish;
    ApplyBuiltInDefaults();
    FileVersion = version;

    Transfer(r, *this, version);
    return TReadReport{r.Unread(), r.Lacking()};
}

} // namespace slabwise
