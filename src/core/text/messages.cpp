#include "text/messages.h"

#include <cerrno>

namespace orvex {

std::string cannotOpenMessage(std::string_view path) { return "Impossible d'ouvrir le fichier " + std::string(path); }

std::string cannotCreateMessage(std::string_view path) { return "Impossible de créer le fichier " + std::string(path); }

std::string readPastEndMessage() { return "Lecture au-delà de la fin de fichier"; }
std::string fileNotFoundMessage() { return "Fichier introuvable"; }
std::string accessDeniedMessage() { return "Accès au fichier refusé"; }
std::string diskFullMessage() { return "Disque plein"; }
std::string ioErrorMessage(int code) { return "Erreur E/S " + std::to_string(code); }
std::string outOfMemoryMessage() { return "Mémoire insuffisante"; }

std::string changedDuringRunMessage(std::string_view path) {
  return "Le fichier " + std::string(path) + " a été modifié par un autre programme pendant le traitement";
}

std::string messageForErrno(int errorNumber) {
  switch (errorNumber) {
    case ENOENT: return fileNotFoundMessage();
    case EACCES:
    case EPERM:
    case EROFS: return accessDeniedMessage();
    case ENOMEM: return outOfMemoryMessage();
    case ENOSPC:
    case EDQUOT:
    case EFBIG: return diskFullMessage();
    default: return ioErrorMessage(errorNumber);
  }
}

std::string errorReportText(std::string_view message) {
  std::string text(message);
  if (!text.empty() && static_cast<unsigned char>(text.back()) > '.') text += '.';
  return text;
}

}  // namespace orvex
