#include "mainwindow/command_table.h"

#include <algorithm>

#include "mainwindow/window_commands.h"

namespace orvex::gui {

const std::vector<Command>& commands() {  // NOLINT(readability-function-size): a data table
  using W = WindowCommands;
  static const std::vector<Command> rows = {
      {"new_document", "Nouveau &document...", "Ctrl+N", "document-new", &W::newDocument, kPlain},
      {"new_window", "Nouvelle &fenêtre Orvex", nullptr, "window-new", &W::newWindow, kPlain},
      {"open_document", "&Ouvrir...", "Ctrl+O", "document-open", &W::openDocument, kPlain},
      {"save_document", "&Enregistrer", "Ctrl+E", "document-save", &W::saveDocument, kPlain},
      {"save_document_as", "Enregistrer &sous...", "Ctrl+S", "document-save-as", &W::saveDocumentAs, kPlain},
      {"set_up_printer", "&Configurer l'imprimante...", "Ctrl+M", "document-print-preview", &W::setUpPrinter, kPlain},
      {"print_document", "&Imprimer", "Ctrl+P", "document-print", &W::printDocument, kPlain},
      {"quit", "&Quitter", nullptr, "application-exit", &W::quit, kPlain},

      {"undo", "&Annuler", "Ctrl+Z", "edit-undo", &W::undo, kPlain},
      {"redo", "Réta&blir", "Ctrl+Shift+Z", "edit-redo", &W::redo, kPlain},
      {"copy", "&Copier", "Ctrl+C", "edit-copy", &W::copy, kPlain},
      {"cut", "C&ouper", "Ctrl+X", "edit-cut", &W::cut, kPlain},
      {"paste", "Co&ller", "Ctrl+W", "edit-paste", &W::paste, kPlain},
      {"find", "&Rechercher", "Ctrl+F", "edit-find", &W::showFindDialog, kPlain},
      {"find_next", "&Suivant", "F3", "go-down-search", &W::findNext, kHidden},
      {"replace", "Re&mplacer", "Ctrl+R", "edit-find-replace", &W::showReplaceDialog, kPlain},
      {"go_to_line", "Aller à la li&gne...", "Ctrl+G", "go-jump", &W::goToLine, kPlain},
      {"select_all", "&Tout selectionner", "Ctrl+A", "edit-select-all", &W::selectAll, kPlain},
      {"select_line", "Sélecti&onner la ligne", "Ctrl+L", "edit-select-text", &W::selectLine, kPlain},
      {"duplicate_line", "&Dupliquer la ligne", "Ctrl+D", "edit-duplicate", &W::duplicateLine, kPlain},
      {"delete_line", "S&upprimer la ligne", "Ctrl+Y", "edit-delete", &W::deleteLine, kPlain},
      {"insert_line", "&Insérer une ligne", "Ctrl+I", "insert-text", &W::insertLine, kPlain},
      {"insert_date", "&Date", "Ctrl+J", "view-calendar-day", &W::insertDate, kPlain},
      {"insert_time", "&Heure", "Ctrl+K", "clock", &W::insertTime, kPlain},
      {"insert_file_name", "&Nom du fichier", "Ctrl+Q", "document-properties", &W::insertFileName, kPlain},
      {"insert_directory", "&Répertoire du fichier", "Ctrl+T", "folder", &W::insertDirectory, kPlain},

      {"upper_case", "Mette en m&ajuscules", "Ctrl+Alt+A", "format-text-uppercase", &W::toUpperCase, kPlain},
      {"lower_case", "Mette en m&inuscules", "Ctrl+Alt+B", "format-text-lowercase", &W::toLowerCase, kPlain},
      {"sort_ascending", "Ordre &croissant", "Ctrl+Alt+C", "view-sort-ascending", &W::sortAscending, kPlain},
      {"sort_descending", "Ordre &décroissant", "Ctrl+Alt+D", "view-sort-descending", &W::sortDescending, kPlain},
      {"remove_duplicates", "&Suppression des doublons", "Ctrl+Alt+E", ":/icons/doublons.svg", &W::removeDuplicates,
       kPlain},
      {"fill", "&Remplir...", "Ctrl+Alt+F", ":/icons/remplir.svg", &W::fill, kPlain},
      {"concatenate_file", "&Concaténer avec un autre fichier...", "Ctrl+Alt+G", "merge", &W::concatenateFile, kPlain},
      {"remove_accents", "Enlever les &accents", "Ctrl+Alt+H", ":/icons/accents.svg", &W::removeAccents, kPlain},
      {"remove_blanks", "Enlever les &blancs", "Ctrl+Alt+I", ":/icons/blancs.svg", &W::removeBlanks, kPlain},
      {"pad_lines", "Tailler toutes les &lignes à la taille maxi", "Ctrl+Alt+J", "format-justify-fill", &W::padLines,
       kPlain},
      {"reverse_selection", "I&nverser la chaine de caractères sélectionnée", "Ctrl+Alt+K", "object-flip-horizontal",
       &W::reverseSelection, kPlain},
      {"encrypt", "&Crypter", "Ctrl+Alt+L", "document-encrypt", &W::encrypt, kPlain},
      {"decrypt", "&Décrypter", "Ctrl+Alt+M", "document-decrypt", &W::decrypt, kPlain},

      {"declare_in_file_manager", "&Déclarer dans le gestionnaire de fichiers", nullptr, "list-add",
       &W::declareInFileManager, kPlain},
      {"remove_from_file_manager", "&Enlever du gestionnaire de fichiers", nullptr, "list-remove",
       &W::removeFromFileManager, kPlain},
      {"configuration", "&Configuration...", nullptr, "configure", &W::showConfiguration, kPlain},

      {"toggle_edit_bar", "Barre d'&édition", nullptr, "configure-toolbars", &W::toggleEditBar, kCheckable | kChecked},
      {"toggle_status_bar", "Barre de &statut", nullptr, "kt-show-statusbar", &W::toggleStatusBar,
       kCheckable | kChecked},
      {"toggle_tools_bar", "Barre d'&outils", nullptr, "view-sidetree", &W::toggleToolsBar, kCheckable | kChecked},
      {"toggle_ruler", "E&chelle", nullptr, "measure", &W::toggleRuler, kCheckable | kChecked},
      {"toggle_block_bar", "Barre d'outils &Bloc", nullptr, "select-rectangular", &W::toggleBlockBar, kCheckable},
      {"toggle_line_numbers", "Numéros de &ligne", nullptr, "format-list-ordered", &W::toggleLineNumbers, kCheckable},
      {"toggle_word_wrap", "&Retour automatique à la ligne", nullptr, "text-wrap", &W::toggleWordWrap, kCheckable},
      {"choose_editor_font", "&Police de l'éditeur...", nullptr, "preferences-desktop-font", &W::chooseEditorFont,
       kPlain},

      {"web_page", "Velmora sur Internet", nullptr, "globe", &W::openWebPage, kPlain},
      {"release_notes", "&Nouveautés...", nullptr, "view-pim-news", &W::showReleaseNotes, kPlain},
      {"about", "A &propos...", nullptr, "help-about", &W::showAbout, kPlain},

      {"mark_block_start", "&Début bloc", nullptr, ":/icons/debut-bloc.svg", &W::markBlockStart, kPlain},
      {"mark_block_end", "&Fin bloc", nullptr, ":/icons/fin-bloc.svg", &W::markBlockEnd, kPlain},
      {"copy_block", nullptr, nullptr, "edit-copy", &W::copyBlockToClipboard, kPlain},
      {"cut_block", nullptr, nullptr, "edit-cut", &W::cutBlock, kPlain},
      {"paste_block", nullptr, nullptr, "edit-paste", &W::pasteBlock, kPlain},
      {"delete_block", nullptr, nullptr, "edit-delete", &W::deleteBlock, kPlain},
      {"insert_file_as_column", nullptr, nullptr, "document-import", &W::insertFileAsColumn, kPlain},
      {"fill_block", nullptr, nullptr, ":/icons/remplir-bloc.svg", &W::fillBlock, kPlain},
      {"indent_block_left", nullptr, nullptr, "format-indent-less", &W::indentBlockLeft, kPlain},
      {"indent_block_right", nullptr, nullptr, "format-indent-more", &W::indentBlockRight, kPlain},
  };
  return rows;
}

const Command* findCommand(std::string_view id) {
  const std::vector<Command>& rows = commands();
  const auto row = std::find_if(rows.begin(), rows.end(), [id](const Command& command) { return command.id == id; });
  return row == rows.end() ? nullptr : &*row;
}

const char* menuText(const MenuEntry& entry) {
  if (entry.text || entry.kind != MenuItemKind::Command) return entry.text;
  const Command* command = findCommand(entry.command);
  return command ? command->caption : nullptr;
}

}  // namespace orvex::gui
