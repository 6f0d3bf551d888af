#pragma once
// At start, the journals of windows that are gone: each one brings the question
// whether to recover its text. The first recovered document goes into this window
// when it started without a file or with that very file, the others into new
// windows, each handed its journal through the environment. An unreadable journal
// is moved aside and said so; one that cannot be moved stays for the next start.

#include <filesystem>
#include <string>
#include <vector>

namespace orvex::gui {

class MainWindow;
class UiServices;

// The environment variable that hands a journal to a new window.
inline constexpr const char* kRecoveryVariable = "ORVEX_RECUPERER";

void offerRecovery(UiServices& ui, MainWindow& window, const std::filesystem::path& programDirectory,
                   const std::vector<std::string>& arguments);
// The journal `name` handed over by the window that started this one, without a question.
void recoverHandedOver(UiServices& ui, MainWindow& window, const std::filesystem::path& programDirectory,
                       const std::string& name);

}  // namespace orvex::gui
