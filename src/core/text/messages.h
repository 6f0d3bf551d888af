#pragma once
// The French texts of file errors, as the program reports them to the user.

#include <string>
#include <string_view>

namespace orvex {

std::string cannotOpenMessage(std::string_view path);    // "Impossible d'ouvrir le fichier %s"
std::string cannotCreateMessage(std::string_view path);  // "Impossible de créer le fichier %s"
std::string readPastEndMessage();                        // "Lecture au-delà de la fin de fichier"
std::string fileNotFoundMessage();                       // "Fichier introuvable"
std::string accessDeniedMessage();                       // "Accès au fichier refusé"
std::string diskFullMessage();                           // "Disque plein"
std::string ioErrorMessage(int code);                    // "Erreur E/S %d"
std::string outOfMemoryMessage();                        // "Mémoire insuffisante"
// "Le fichier %s a été modifié par un autre programme pendant le traitement."
std::string changedDuringRunMessage(std::string_view path);

// The message for a failed read or write with the given errno value.
std::string messageForErrno(int errorNumber);

// The text of the error report: the message with a full stop appended when its last
// character sorts after the full stop.
std::string errorReportText(std::string_view message);

}  // namespace orvex
