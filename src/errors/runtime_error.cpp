#include "runtime_error.h"

#include <cerrno>

namespace vb {

RuntimeError::RuntimeError(int number, std::string path)
    : std::runtime_error(ErrorLine(number, path)), number_(number), description_(DescriptionOf(number)),
      path_(std::move(path)) {}

RuntimeError RuntimeError::FromErrno(int errnoValue, std::string path) {
    return RuntimeError(ErrorNumberOfErrno(errnoValue), std::move(path));
}

std::string DescriptionOf(int number) {
    switch (number) {
    case err::InvalidCall:
        return "Unzulässiger Prozeduraufruf oder ungültiges Argument";
    case err::Overflow:
        return "Überlauf";
    case err::OutOfMemory:
        return "Nicht genügend Speicher";
    case err::SubscriptOutOfRange:
        return "Index außerhalb des gültigen Bereichs";
    case err::BadFileName:
        return "Dateiname oder -nummer falsch";
    case err::FileNotFound:
        return "Datei nicht gefunden";
    case err::DeviceIo:
        return "Geräte-E/A-Fehler";
    case err::DiskFull:
        return "Datenträger voll";
    case err::PermissionDenied:
        return "Zugriff verweigert";
    case err::PathFileAccess:
        return "Fehler beim Zugriff auf Pfad/Datei";
    case err::PathNotFound:
        return "Pfad nicht gefunden";
    case err::BadFileFormat:
        return "Ungültiges Dateiformat (UTF-16-Text, der nur umgewandelt gelesen werden kann)";
    default:
        return "Anwendungs- oder objektdefinierter Fehler";
    }
}

std::string ErrorLine(int number, std::string_view path) {
    std::string text = "Laufzeitfehler " + std::to_string(number) + ": " + DescriptionOf(number);
    if (!path.empty()) {
        text += ": ";
        text += path;
    }
    return text;
}

int ErrorNumberOfErrno(int errnoValue) {
    switch (errnoValue) {
    case ENOENT:
        return err::FileNotFound;
    case ENOTDIR:
        return err::PathNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
        return err::PermissionDenied;
    case ENOSPC:
    case EDQUOT:
        return err::DiskFull;
    case EIO:
        return err::DeviceIo;
    case ENAMETOOLONG:
        return err::BadFileName;
    case ENOMEM:
        return err::OutOfMemory;
    default:
        return err::PathFileAccess;
    }
}

} // namespace vb
