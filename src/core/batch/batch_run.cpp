#include "batch/batch_run.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <new>
#include <optional>
#include <span>
#include <system_error>

#include "batch/batch_tools.h"
#include "io/atomic_file.h"
#include "io/file_handle.h"
#include "io/file_probes.h"
#include "io/line_reader.h"
#include "io/line_writer.h"
#include "io/status.h"
#include "settings/activation.h"
#include "text/messages.h"

namespace orvex {

namespace {

// The document of a batch run lives in its own file: each option reads the file
// and writes the result beside it, which then replaces it. So after every option
// the file holds a complete result, and a failure leaves the last one whole.
//
// The encoding is found only when a tool needs it: by that tool's own run when it is
// the first option, otherwise before the first option runs. The file's own encoding
// stays what it was at the start; after encryption the tools see Windows-1252 until
// the bytes are valid in the file's own encoding again.
class BatchDocument {
 public:
  explicit BatchDocument(std::filesystem::path file)
      : m_file(std::move(file)), m_identity(identifyFile(m_file)), m_format(probeFileLayout(m_file)) {}

  // Runs the option (or, for any other argument, only rewrites the document) and
  // saves the result. `later` are the arguments still to come.
  void apply(const std::string& argument, std::span<const std::string> later) {
    const bool scrambles = argument == "8" || argument == "9";
    // The encoding is the file's as it was read: an option that works on bytes may
    // leave bytes that happen to be valid UTF-8, so it is found before one runs if
    // a later option needs it.
    if (!m_own && !batchToolNeedsEncoding(argument) && std::any_of(later.begin(), later.end(), batchToolNeedsEncoding))
      m_own = detectFileEncoding(m_file);
    std::unique_ptr<DocumentTool> tool = makeBatchTool(argument, encodingForTools());
    try {
      write(tool.get());
    } catch (const NotUtf8&) {
      tool = makeBatchTool(argument, Encoding::Windows1252);
      write(tool.get());
    }
    if (scrambles) {
      m_scrambled = true;
      m_seen.reset();
    } else if (tool && batchToolNeedsEncoding(argument)) {
      m_seen = tool->detectedEncoding();
      if (!m_own) m_own = m_seen;
    }
  }

 private:
  std::optional<Encoding> encodingForTools() const {
    if (m_own == Encoding::Windows1252) return Encoding::Windows1252;
    return m_scrambled ? m_seen : m_own;
  }

  void write(DocumentTool* tool) {
    // Another program writing to the file meanwhile keeps its changes: the result
    // replaces only the file this run last read or wrote.
    AtomicFile output(m_file, m_identity);
    LineWriter writer(output.fd(), m_format);
    writer.startWritebackEarly();
    if (tool) {
      Progress progress;
      tool->run(m_file, m_format, writer, progress);
    } else {
      LineReader reader(m_file, m_format.bom);
      std::string_view line;
      while (reader.next(line)) writer.put(line);
    }
    writer.finish();
    m_identity = output.commit();
    // The layout follows the document: read back, what was written may now end
    // with a break (a last empty line written without one).
    m_format.finalBreak = writer.endsWithBreak();
  }

  std::filesystem::path m_file;
  std::optional<FileIdentity> m_identity;
  TextFormat m_format;
  std::optional<Encoding> m_own;   // the file's encoding as it was read
  std::optional<Encoding> m_seen;  // what the last character tool found since encryption
  bool m_scrambled = false;
};

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
  try {
    BatchDocument document(file);
    for (std::size_t i = 1; i < arguments.size(); ++i)
      document.apply(arguments[i], std::span(arguments).subspan(i + 1));
  } catch (const IoFailure& failure) {
    errors << errorReportText(failure.what()) << '\n';
    return kBatchIoError;
  } catch (const std::bad_alloc&) {
    errors << errorReportText(outOfMemoryMessage()) << '\n';
    return kBatchIoError;
  } catch (const std::system_error& failure) {
    // The system refused a resource (a thread, a lock): reported, never an abort.
    errors << errorReportText(ioErrorMessage(failure.code().value())) << '\n';
    return kBatchIoError;
  }
  return kBatchDone;
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
         "  orvex /?\n"
         "  Affiche cet écran d'aide\n"
         "\n"
         "Liste des options en mode batch :\n"
         "  1 : Mise en majuscule       4 : Tri décroissant        7 : Tailler les lignes\n"
         "  2 : Mise en minuscule       5 : Enlève les accents     8 : Crytper le fichier\n"
         "  3 : Tri croissant           6 : Enlève les blancs      9 : Décrypter le fichier\n";
}

}  // namespace orvex
