#include "core/system_error_text.h"

#include <cerrno>
#include <cstring>

namespace kelm {

std::string SystemErrorText(int errnum) {
    switch (errnum) {
        case ENOENT: return "нет такого файла или папки";
        case EACCES:
        case EPERM: return "нет прав доступа";
        case EISDIR: return "это папка";
        case ENOTDIR: return "часть пути не является папкой";
        case ELOOP: return "слишком много символических ссылок";
        case ENAMETOOLONG: return "слишком длинное имя";
        case ENOSPC: return "на диске нет места";
        case EDQUOT: return "исчерпана квота диска";
        case EROFS: return "файловая система только для чтения";
        case EIO: return "ошибка ввода-вывода";
        case EMFILE:
        case ENFILE: return "открыто слишком много файлов";
        case ENOMEM: return "недостаточно памяти";
        case EEXIST: return "файл уже существует";
        case EXDEV: return "файл на другом устройстве";
        case EBUSY: return "файл занят";
        case EFBIG: return "файл слишком велик";
        default: return std::strerror(errnum);
    }
}

}  // namespace kelm
