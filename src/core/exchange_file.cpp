#include "core/exchange_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <utility>

#include "core/codec.h"
#include "core/data_module.h"
#include "core/database.h"
#include "core/server_source.h"
#include "core/system_error_text.h"

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
// file is large, and every extra pass over it costs time and memory. Only a
// regular file is a catalogue: a folder or a device named like one is not.
FileContent ReadWholeFile(const std::string& path) {
    // Looked at before it is opened: opening a pipe waits for a writer, and
    // opening a device may act on it. Non-blocking, so that a pipe put in its
    // place meanwhile is found by the check after opening, not waited on.
    struct stat named {};
    if (stat(path.c_str(), &named) == 0 && !S_ISREG(named.st_mode))
        throw OpenError(OpenError::Kind::BadFile, path + ": не обычный файл");
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) throw OpenError(OpenError::Kind::BadFile, path + ": " + SystemErrorText(errno));
    struct Closer {
        int fd;
        ~Closer() { close(fd); }
    } closer{fd};
    struct stat info {};
    if (fstat(fd, &info) != 0) throw OpenError(OpenError::Kind::BadFile, path + ": " + SystemErrorText(errno));
    if (!S_ISREG(info.st_mode)) throw OpenError(OpenError::Kind::BadFile, path + ": не обычный файл");
    const auto size = static_cast<std::size_t>(info.st_size);
    FileContent content{std::make_unique_for_overwrite<char[]>(size + 1), size};
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = read(fd, content.data.get() + done, size - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) throw OpenError(OpenError::Kind::BadFile, path + ": " + SystemErrorText(errno));
        if (n == 0) throw OpenError(OpenError::Kind::BadFile, path + ": файл не читается до конца");
        done += static_cast<std::size_t>(n);
    }
    return content;
}

// Files from other tools may be written in Windows-1251 and say so in their
// declaration; ours are always UTF-8.
bool DeclaresWindows1251(std::string_view text) {
    if (!text.starts_with("<?xml")) return false;
    const std::size_t end = text.find("?>");
    std::string declaration(text.substr(0, end));
    std::transform(declaration.begin(), declaration.end(), declaration.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    const std::size_t encoding = declaration.find("encoding");
    if (encoding == std::string::npos) return false;
    const std::size_t quote = declaration.find_first_of("\"'", encoding);
    if (quote == std::string::npos) return false;
    const std::size_t close = declaration.find(declaration[quote], quote + 1);
    const std::string name = declaration.substr(quote + 1, close == std::string::npos ? close : close - quote - 1);
    return name == "windows-1251" || name == "cp1251";
}

FileContent Utf8Content(std::string_view cp1251) {
    const std::string text = Utf8FromCp1251(cp1251);
    FileContent content{std::make_unique_for_overwrite<char[]>(text.size() + 1), text.size()};
    std::memcpy(content.data.get(), text.data(), text.size());
    return content;
}

// The offset of the first character reference to U+0000 outside comments
// and CDATA sections, or npos. XML has no such character, and read as one it
// would end the field's text there.
std::size_t NullReference(std::string_view text) {
    for (std::size_t at = text.find_first_of("&<"); at != std::string_view::npos;
         at = text.find_first_of("&<", at + 1)) {
        if (text[at] == '<') {
            for (const auto& [start, end] : {std::pair{"<!--", "-->"}, std::pair{"<![CDATA[", "]]>"}})
                if (text.substr(at).starts_with(start)) {
                    at = text.find(end, at);
                    if (at == std::string_view::npos) return at;  // left for the parser to report
                    break;
                }
            continue;
        }
        std::size_t digit = at + 1;
        if (digit >= text.size() || text[digit] != '#') continue;
        ++digit;
        const bool hex = digit < text.size() && (text[digit] == 'x' || text[digit] == 'X');
        if (hex) ++digit;
        const std::size_t first = digit;
        while (digit < text.size() && text[digit] == '0') ++digit;
        if (digit > first && digit < text.size() && text[digit] == ';') return at;
    }
    return std::string_view::npos;
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
    // A carriage return goes as a character reference: written as it is, any
    // reader takes it for a line end and the text comes back changed.
    void write(const void* data, std::size_t size) override {
        const char* bytes = static_cast<const char*>(data);
        while (size > 0 && error == 0) {
            const char* cr = static_cast<const char*>(std::memchr(bytes, '\r', size));
            const std::size_t plain = cr ? static_cast<std::size_t>(cr - bytes) : size;
            WriteRaw(bytes, plain);
            if (!cr) break;
            WriteRaw("&#13;", 5);
            bytes += plain + 1;
            size -= plain + 1;
        }
    }
    int error = 0;  // the first failure; nothing more is written after it

private:
    void WriteRaw(const char* bytes, std::size_t size) {
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

    int fd_;
};

// The file a write to `path` replaces: a symbolic link stays and the file it
// leads to is replaced, or created when the link dangles. Anything else that
// is not a regular file (a device, a pipe, a folder, a looping link) is
// refused before anything is opened.
std::filesystem::path ReplacedFile(const std::string& path) {
    constexpr int kMostLinks = 40;  // as the kernel follows them
    std::filesystem::path file = path;
    for (int links = 0;; ++links) {
        struct stat info {};
        if (lstat(file.c_str(), &info) != 0) {
            if (errno == ENOENT) return file;
            throw FileWriteError(path + ": " + SystemErrorText(errno));
        }
        if (S_ISREG(info.st_mode)) return file;
        if (!S_ISLNK(info.st_mode))
            throw FileWriteError(std::string(kBadFileMessage) + "\n" + path + ": не обычный файл");
        if (links == kMostLinks)
            throw FileWriteError(std::string(kBadFileMessage) + "\n" + path + ": " + SystemErrorText(ELOOP));
        std::error_code error;
        const std::filesystem::path target = std::filesystem::read_symlink(file, error);
        if (error) throw FileWriteError(path + ": " + SystemErrorText(error.value()));
        file = target.is_absolute() ? target : file.parent_path() / target;
    }
}

// The start of every temporary name a write to `file` uses, in its folder:
// hidden, and short enough that the whole name stays within the file
// system's limit however long the target's name is.
std::string TemporaryPrefix(const std::filesystem::path& file) {
    constexpr std::size_t kNameMax = 255;
    constexpr std::string_view kTail = ".kelm-XXXXXX";
    std::string stem = file.filename().string();
    const std::size_t room = kNameMax - 1 - kTail.size();
    if (stem.size() > room) {
        std::size_t cut = room;
        while (cut > 0 && (static_cast<unsigned char>(stem[cut]) & 0xC0) == 0x80) --cut;  // whole UTF-8 characters
        stem.resize(cut);
    }
    return "." + stem + ".kelm-";
}

// Removes temporary files that writes killed part-way left beside `file`. A
// write in progress holds a lock on its temporary file, so it is left alone.
void RemoveStaleTemporaries(const std::filesystem::path& file, const std::string& prefix) {
    const std::filesystem::path folder = file.has_parent_path() ? file.parent_path() : ".";
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        const std::string name = entry.path().filename().string();
        if (name.size() != prefix.size() + 6 || name.compare(0, prefix.size(), prefix) != 0) continue;
        const int fd = open(entry.path().c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
        if (fd < 0) continue;
        if (flock(fd, LOCK_EX | LOCK_NB) == 0) unlink(entry.path().c_str());
        close(fd);
    }
}

// Makes a rename in `folder` survive a power cut.
void FlushFolder(const std::filesystem::path& file, const std::string& path) {
    const std::filesystem::path folder = file.has_parent_path() ? file.parent_path() : ".";
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) throw FileWriteError(path + ": " + SystemErrorText(errno));
    const int flushed = fsync(fd);
    const int error = errno;
    close(fd);
    if (flushed != 0 && error != EINVAL) throw FileWriteError(path + ": " + SystemErrorText(error));
}

void SaveDocument(const pugi::xml_document& doc, const std::string& path) {
    WriteFileInPlaceOf(path, [&](int fd, const std::string&) {
        FileWriter writer(fd);
        writer.write(kDeclaration, std::strlen(kDeclaration));
        doc.save(writer, "\t", pugi::format_indent | pugi::format_no_declaration, pugi::encoding_utf8);
        return writer.error;
    });
}

}  // namespace

OpenError::OpenError(Kind kind, std::string detail)
    : std::runtime_error(kind == Kind::OlderDatabase ? kOlderDatabaseMessage : kBadFileMessage),
      kind(kind),
      detail(std::move(detail)) {}

// A server source is always a database, whatever its file is called.
bool IsExchangeFilePath(const std::string& path) { return !IsServerSource(path) && LowerExtension(path) == ".xml"; }

namespace {

// What the XML parser found, in the words of the user's language.
const char* ParseProblem(pugi::xml_parse_status status) {
    switch (status) {
        case pugi::status_ok: return "ошибок нет";
        case pugi::status_file_not_found: return "файл не найден";
        case pugi::status_io_error: return "ошибка чтения файла";
        case pugi::status_out_of_memory: return "недостаточно памяти";
        case pugi::status_internal_error: return "внутренняя ошибка разбора";
        case pugi::status_unrecognized_tag: return "не удаётся разобрать имя элемента";
        case pugi::status_bad_pi: return "ошибка в инструкции обработки";
        case pugi::status_bad_comment: return "ошибка в комментарии";
        case pugi::status_bad_cdata: return "ошибка в разделе CDATA";
        case pugi::status_bad_doctype: return "ошибка в объявлении типа документа";
        case pugi::status_bad_pcdata: return "ошибка в тексте элемента";
        case pugi::status_bad_start_element: return "ошибка в открывающем теге";
        case pugi::status_bad_attribute: return "ошибка в атрибуте";
        case pugi::status_bad_end_element: return "ошибка в закрывающем теге";
        case pugi::status_end_element_mismatch: return "закрывающий тег не соответствует открывающему или файл оборван";
        case pugi::status_append_invalid_root: return "недопустимый корневой элемент";
        case pugi::status_no_document_element: return "в файле нет ни одного элемента";
    }
    return "ошибка разбора XML";
}

}  // namespace

void OpenExchangeFile(TReference& reference, const std::string& path) {
    // Parsed in place, so the buffer no longer reads as the file: lines of
    // errors are counted in the file read again.
    FileContent content = ReadWholeFile(path);
    const bool cp1251 = DeclaresWindows1251(content.Text());
    if (cp1251) content = Utf8Content(content.Text());
    // The text as parsed, for counting lines.
    auto parsedText = [&] {
        FileContent again = ReadWholeFile(path);
        return cp1251 ? Utf8Content(again.Text()) : std::move(again);
    };
    if (const std::size_t null = NullReference(content.Text()); null != std::string_view::npos)
        throw OpenError(OpenError::Kind::BadFile, path + ", строка " + std::to_string(LineAt(content.Text(), null)) +
                                                      ": ссылка на символ U+0000, недопустимый в XML");
    pugi::xml_document doc;
    // A field's text kept as the element's value, not as a node of its own,
    // halves the nodes of a catalogue document.
    const pugi::xml_parse_result parsed =
        doc.load_buffer_inplace(content.data.get(), content.size, pugi::parse_default | pugi::parse_embed_pcdata,
                                cp1251 ? pugi::encoding_utf8 : pugi::encoding_auto);
    if (!parsed)
        throw OpenError(OpenError::Kind::BadFile, path + ", строка " +
                                                      std::to_string(LineAt(parsedText().Text(), parsed.offset)) +
                                                      ": " + ParseProblem(parsed.status));
    reference.ClearAll();
    reference.FileName = path;
    try {
        reference.LoadFromXml(doc.document_element());
    } catch (const XmlFieldError& error) {
        const std::string where = parsed.encoding == pugi::encoding_utf8
                                      ? ", строка " + std::to_string(LineAt(parsedText().Text(), error.offset))
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
    reference.DatabaseIdentity = db.SQLConnection.Identity();
    if (!reference.LoadFromDatabase(db, 0, "", failures)) return false;
    reference.Network = NetworkUse::Read(db);
    return true;
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
    } catch (const DatabaseInUse& error) {
        throw OpenError(OpenError::Kind::BadFile, path + ": " + kDatabaseInUseDetail + "\n" + DisplayText(error.what()));
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
                       std::time_t now, const std::function<void(int step)>& progress) {
    pugi::xml_document doc = NewDocument(settings, now);
    pugi::xml_node catalogue = doc.document_element().append_child("KelmReference_v1");
    reference.WriteXml(catalogue, settings.Numbers(), progress);
    SaveDocument(doc, path);
    if (progress) progress(reference.CategoryCount());
    reference.FinishXmlSave();
    reference.SourceKind = ExchangeFileSource;
    reference.Network = NetworkUse();
    reference.FileName = path;
}

void CreateExchangeFile(const std::string& path, const RegionalSettings& settings, std::time_t now) {
    SaveDocument(NewDocument(settings, now), path);
}

// Writes beside the target, then renames over it, so that a failure never
// leaves a truncated catalogue where the previous one was.
void WriteFileInPlaceOf(const std::string& path, const std::function<int(int fd, const std::string& temporary)>& write) {
    const std::filesystem::path file = ReplacedFile(path);
    const std::string prefix = TemporaryPrefix(file);
    RemoveStaleTemporaries(file, prefix);
    std::string temporary = (file.has_parent_path() ? file.parent_path() / (prefix + "XXXXXX")
                                                    : std::filesystem::path(prefix + "XXXXXX"))
                                .string();
    const int fd = mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) throw FileWriteError(path + ": " + SystemErrorText(errno));
    auto fail = [&](int error) {
        close(fd);
        unlink(temporary.c_str());
        throw FileWriteError(path + ": " + SystemErrorText(error));
    };
    if (flock(fd, LOCK_EX) != 0) fail(errno);  // held until closed: the write is alive
    struct stat existing {};
    mode_t mode = 0;
    if (stat(file.c_str(), &existing) == 0) {
        mode = existing.st_mode & 07777;
    } else {
        const mode_t mask = umask(0);
        umask(mask);
        mode = 0666 & ~mask;
    }
    if (fchmod(fd, mode) != 0) fail(errno);
    int written = 0;
    try {
        written = write(fd, temporary);
    } catch (...) {
        close(fd);
        unlink(temporary.c_str());
        throw;
    }
    if (written != 0) fail(written);
    if (fsync(fd) != 0) fail(errno);
    if (rename(temporary.c_str(), file.c_str()) != 0) fail(errno);
    if (close(fd) != 0) throw FileWriteError(path + ": " + SystemErrorText(errno));
    FlushFolder(file, path);
}

}  // namespace kelm
