#include "core/exchange_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <memory>

#include "core/codec.h"
#include "core/data_module.h"
#include "core/database.h"
#include "core/server_source.h"

namespace kelm {
namespace {

// The first line of every written file, with its trailing blank.
constexpr const char* kDeclaration = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\" ?> \n";

std::string LowerExtension(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    const std::size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return "";
    std::string extension = path.substr(dot);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

int LineAt(std::string_view text, std::ptrdiff_t offset) {
    if (offset < 0) return 0;
    const auto end = text.begin() + std::min<std::ptrdiff_t>(offset, static_cast<std::ptrdiff_t>(text.size()));
    return 1 + static_cast<int>(std::count(text.begin(), end, '\n'));
}

// A whole file in memory.
struct FileContent {
    std::unique_ptr<char[]> data;
    std::size_t size = 0;
    std::string_view Text() const { return {data.get(), size}; }
};

// One read into a buffer of the file's size, not cleared first: a catalogue
// file is large, and every extra pass over it costs time and memory.
FileContent ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) throw OpenError(OpenError::Kind::BadFile, path + ": " + std::strerror(errno));
    const std::streamoff size = in.tellg();
    if (size < 0) throw OpenError(OpenError::Kind::BadFile, path + ": cannot be read");
    FileContent content{std::make_unique_for_overwrite<char[]>(static_cast<std::size_t>(size) + 1),
                        static_cast<std::size_t>(size)};
    in.seekg(0);
    in.read(content.data.get(), size);
    if (in.bad() || in.gcount() != size) throw OpenError(OpenError::Kind::BadFile, path + ": cannot be read");
    return content;
}

pugi::xml_document NewDocument(const RegionalSettings& settings, std::time_t now) {
    pugi::xml_document doc;
    pugi::xml_node root = doc.append_child("KelmStorage");
    root.append_child("modification").text().set(settings.ModificationStamp(now).c_str());
    return doc;
}

// Hands pugixml's output, in the blocks it buffers, straight to the file:
// a catalogue is not held a second time as one long text.
class FileWriter : public pugi::xml_writer {
public:
    explicit FileWriter(int fd) : fd_(fd) {}
    void write(const void* data, std::size_t size) override {
        const char* bytes = static_cast<const char*>(data);
        while (size > 0 && error == 0) {
            const ssize_t n = ::write(fd_, bytes, size);
            if (n < 0) {
                if (errno != EINTR) error = errno;
                continue;
            }
            bytes += n;
            size -= static_cast<std::size_t>(n);
        }
    }
    int error = 0;  // the first failure; nothing more is written after it

private:
    int fd_;
};

// Writes beside the target, then renames over it, so that a failure never
// leaves a truncated catalogue where the previous one was.
void SaveDocument(const pugi::xml_document& doc, const std::string& path) {
    std::string temporary = path + ".tmp-XXXXXX";
    const int fd = mkstemp(temporary.data());
    if (fd < 0) throw FileWriteError(path + ": " + std::strerror(errno));
    auto fail = [&](int error) {
        close(fd);
        unlink(temporary.c_str());
        throw FileWriteError(path + ": " + std::strerror(error));
    };
    struct stat existing {};
    mode_t mode = 0;
    if (stat(path.c_str(), &existing) == 0) {
        mode = existing.st_mode & 07777;
    } else {
        const mode_t mask = umask(0);
        umask(mask);
        mode = 0666 & ~mask;
    }
    if (fchmod(fd, mode) != 0) fail(errno);
    FileWriter writer(fd);
    writer.write(kDeclaration, std::strlen(kDeclaration));
    doc.save(writer, "\t", pugi::format_indent | pugi::format_no_declaration, pugi::encoding_utf8);
    if (writer.error != 0) fail(writer.error);
    if (fsync(fd) != 0) fail(errno);
    if (close(fd) != 0) {
        const int error = errno;
        unlink(temporary.c_str());
        throw FileWriteError(path + ": " + std::strerror(error));
    }
    if (rename(temporary.c_str(), path.c_str()) != 0) {
        const int error = errno;
        unlink(temporary.c_str());
        throw FileWriteError(path + ": " + std::strerror(error));
    }
}

}  // namespace

OpenError::OpenError(Kind kind, std::string detail)
    : std::runtime_error(kind == Kind::OlderDatabase ? kOlderDatabaseMessage : kBadFileMessage),
      kind(kind),
      detail(std::move(detail)) {}

// A server source is always a database, whatever its file is called.
bool IsExchangeFilePath(const std::string& path) { return !IsServerSource(path) && LowerExtension(path) == ".xml"; }

void OpenExchangeFile(TReference& reference, const std::string& path) {
    // Parsed in place, so the buffer no longer reads as the file: lines of
    // errors are counted in the file read again.
    FileContent content = ReadWholeFile(path);
    pugi::xml_document doc;
    // A field's text kept as the element's value, not as a node of its own,
    // halves the nodes of a catalogue document.
    const pugi::xml_parse_result parsed =
        doc.load_buffer_inplace(content.data.get(), content.size, pugi::parse_default | pugi::parse_embed_pcdata);
    if (!parsed)
        throw OpenError(OpenError::Kind::BadFile, path + ", line " +
                                                      std::to_string(LineAt(ReadWholeFile(path).Text(), parsed.offset)) +
                                                      ": " + parsed.description());
    reference.ClearAll();
    reference.FileName = path;
    try {
        reference.LoadFromXml(doc.document_element());
    } catch (const XmlFieldError& error) {
        const std::string where = parsed.encoding == pugi::encoding_utf8
                                      ? ", line " + std::to_string(LineAt(ReadWholeFile(path).Text(), error.offset))
                                      : "";
        throw OpenError(OpenError::Kind::BadFile, path + where + ": " + error.what());
    }
    reference.SourceKind = ExchangeFileSource;
}

bool OpenDatabaseSource(TReference& reference, TRef_DataModule& db, const std::string& path,
                        std::vector<std::string>* failures) {
    db.ConnectTo(path);
    reference.ClearAll();
    reference.SourceKind = DatabaseSource;
    reference.FileName = path;
    return reference.LoadFromDatabase(db, 0, "", failures);
}

std::unique_ptr<TReference> OpenSource(const std::string& path, TRef_DataModule& db,
                                       std::unique_ptr<TReference> (*make)()) {
    std::unique_ptr<TReference> reference = make();
    if (IsExchangeFilePath(path)) {
        OpenExchangeFile(*reference, path);
        return reference;
    }
    std::vector<std::string> failures;
    bool loaded = false;
    try {
        loaded = OpenDatabaseSource(*reference, db, path, &failures);
    } catch (const std::exception& error) {
        throw OpenError(OpenError::Kind::BadFile, path + ": " + DisplayText(error.what()));
    }
    if (!loaded) {
        std::string detail = path + ":";
        for (const auto& failure : failures) detail += "\n" + DisplayText(failure);
        throw OpenError(OpenError::Kind::OlderDatabase, detail);
    }
    return reference;
}

void WriteExchangeFile(TReference& reference, const std::string& path, const RegionalSettings& settings,
                       std::time_t now) {
    pugi::xml_document doc = NewDocument(settings, now);
    pugi::xml_node catalogue = doc.document_element().append_child("KelmReference_v1");
    reference.WriteXml(catalogue, settings.Numbers());
    SaveDocument(doc, path);
    reference.FinishXmlSave();
    reference.SourceKind = ExchangeFileSource;
    reference.FileName = path;
}

void CreateExchangeFile(const std::string& path, const RegionalSettings& settings, std::time_t now) {
    SaveDocument(NewDocument(settings, now), path);
}

}  // namespace kelm
