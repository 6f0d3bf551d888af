#include "batch/batch_run.h"

#include <sys/stat.h>

#include <cerrno>
#include <span>

#include "io/status.h"
#include "settings/activation.h"
#include "text/messages.h"

namespace orvex {

namespace {

// What the named file is for a batch run: nothing to do (it does not exist, or is a
// directory, which is not a file either), something to process, or a path that
// cannot even be checked (access refused), which is a failure to report.
enum class Target { Missing, File, Unreachable };

Target examine(const std::filesystem::path& file, std::string& message) {
  struct stat info {};
  if (::stat(file.c_str(), &info) != 0) {
    if (errno == ENOENT || errno == ENOTDIR) return Target::Missing;
    message = errno == EACCES ? accessDeniedMessage() : cannotOpenMessage(file.string());
    return Target::Unreachable;
  }
  return S_ISDIR(info.st_mode) ? Target::Missing : Target::File;
}

int processFile(const std::vector<std::string>& arguments, std::ostream& errors) {
  const std::filesystem::path file = arguments.front();
  std::string message;
  switch (examine(file, message)) {
    case Target::Missing: return kBatchNoFile;
    case Target::Unreachable: errors << errorReportText(message) << '\n'; return kBatchIoError;
    case Target::File: break;
  }
  return reportBatchFailures(errors, [&] { applyBatchOptions(file, std::span(arguments).subspan(1)); });
}

}  // namespace

int runBatch(const std::vector<std::string>& arguments, const ProgramPaths& paths, std::ostream& errors) {
  if (arguments.empty()) return kBatchNoFile;
  int result = processFile(arguments, errors);
  // The window's activation runs even for a batch run; its tips window closes at
  // once, leaving its check box as it starts: ticked.
  // The settings are the window's business: a failure there is a warning that names
  // the settings file, and does not turn the processed file into a failure.
  const Status settings = runActivationSettings(paths.configFile(), {});
  if (!settings.ok())
    errors << "Avertissement : " << paths.configFile().string() << " : " << errorReportText(settings.error) << '\n';
  return result;
}

std::string batchHelpText() {
  return "Orvex dispose d'un mode batch. Cela signifie que vous pouvez utiliser Orvex dans des fichiers de "
         "commandes (scripts shell par exemple). Pour faire appel à Orvex en mode batch, il suffit de lancer Orvex "
         "avec "
         "au moins 2 paramètres.\n"
         "\n"
         "Syntaxe générale :\n"
         "  orvex chemin et nom du fichier options séparées par des blancs\n"
         "\n"
         "Exemple d'appel à Orvex en mode batch :\n"
         "  orvex /tmp/toto.txt 5 1 8\n"
         "  Dans cet exemple, le fichier /tmp/toto.txt va subir les traitements : Suppression des accents, puis "
         "mise en majuscules et enfin il va être crypté.\n"
         "  orvex - 5 1 < entrée.txt > sortie.txt\n"
         "  Ici, Orvex lit le texte sur l'entrée standard, enlève les accents, le met en majuscules et écrit le "
         "résultat sur la sortie standard, sans créer d'autre fichier que ses fichiers temporaires.\n"
         "  orvex /?\n"
         "  Affiche cet écran d'aide\n"
         "\n"
         "Liste des options en mode batch :\n"
         "  1 : Mise en majuscule       4 : Tri décroissant        7 : Tailler les lignes\n"
         "  2 : Mise en minuscule       5 : Enlève les accents     8 : Crytper le fichier\n"
         "  3 : Tri croissant           6 : Enlève les blancs      9 : Décrypter le fichier\n";
}

}  // namespace orvex
