#pragma once
// Opening a catalogue source into a container, and writing exchange files.

#include <ctime>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/reference.h"
#include "core/regional.h"

namespace kelm {

class TRef_DataModule;

// The two ways an opening fails, as the user is told; `detail` says precisely
// what went wrong (file, category, element, field, text, line, or the
// database's own message).
class OpenError : public std::runtime_error {
public:
    enum class Kind { OlderDatabase, BadFile };
    OpenError(Kind kind, std::string detail);
    Kind kind;
    std::string detail;  // UTF-8
};

inline constexpr const char* kOlderDatabaseMessage = "Файл БД имеет более раннюю версию.";
inline constexpr const char* kBadFileMessage = "Ошибка в файле.";
// The detail of kBadFileMessage when another program holds a local database.
inline constexpr const char* kDatabaseInUseDetail =
    "база данных открыта другой программой; локальную базу может использовать только одна программа "
    "одновременно, базу на сервере (\"сервер:путь\") — несколько";

// A file that could not be written; the previous file, if any, is intact.
class FileWriteError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The kind of a source follows from its lower-cased extension alone.
bool IsExchangeFilePath(const std::string& path);

// Fills `reference` from the exchange file at `path`. Throws OpenError(BadFile).
void OpenExchangeFile(TReference& reference, const std::string& path);
// Connects the shared connection to `path` and loads every category.
// Returns false when a category could not be read (an older database);
// `failures` then says which and why. A failed connection raises DatabaseError.
bool OpenDatabaseSource(TReference& reference, TRef_DataModule& db, const std::string& path,
                        std::vector<std::string>* failures = nullptr);

// Opens either kind of source into a new container built by `make`.
// Throws OpenError with one of the two outcomes; the caller's state is untouched.
std::unique_ptr<TReference> OpenSource(const std::string& path, TRef_DataModule& db,
                                       std::unique_ptr<TReference> (*make)());

// Writes the reference as an exchange file: the previous file is replaced only
// once the new one is complete. Then, and only then, marked records are
// dropped and new records take the identifier -1.
// `progress` hears each category written, then the category count once the
// file is in place.
void WriteExchangeFile(TReference& reference, const std::string& path, const RegionalSettings& settings,
                       std::time_t now, const std::function<void(int step)>& progress = {});
// Writes a file of any format so that the previous one is replaced only once
// the new one is complete: `write` fills the file open as `fd`, a temporary
// beside `path` (named `temporary`), and returns 0 or the errno of its failure.
// Throws FileWriteError.
void WriteFileInPlaceOf(const std::string& path, const std::function<int(int fd, const std::string& temporary)>& write);
// A new exchange file holding only the date stamp: it opens as an empty catalogue.
void CreateExchangeFile(const std::string& path, const RegionalSettings& settings, std::time_t now);

}  // namespace kelm
