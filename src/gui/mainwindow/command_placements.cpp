// Where the commands of the table appear: the main menu, the pop-up menu and the
// three tool bars, each naming its commands by id.

#include "mainwindow/command_table.h"

namespace orvex::gui {

namespace {
constexpr MenuEntry menu(const char* name, const char* caption) {
  return {0, MenuItemKind::Submenu, name, nullptr, caption, nullptr};
}
constexpr MenuEntry submenu(int depth, const char* name, const char* caption, const char* icon) {
  return {depth, MenuItemKind::Submenu, name, nullptr, caption, icon};
}
// `text` only where the item shows another text than its command's caption.
constexpr MenuEntry item(int depth, const char* name, const char* command, const char* text = nullptr) {
  return {depth, MenuItemKind::Command, name, command, text, nullptr};
}
constexpr MenuEntry separator(int depth) {
  return {depth, MenuItemKind::Separator, nullptr, nullptr, nullptr, nullptr};
}
}  // namespace

const std::vector<MenuEntry>& mainMenuEntries() {  // NOLINT(readability-function-size): a data table
  static const std::vector<MenuEntry> entries = {
      menu("Fichier1", "&Fichier"),
      item(1, "Nouveau2", "new_document"),
      item(1, "Nouveau1", "new_window"),
      separator(1),
      item(1, "Ouvrir1", "open_document"),
      item(1, "Enregistrer2", "save_document"),
      item(1, "Enregistrer1", "save_document_as"),
      separator(1),
      item(1, "Miseenpage1", "set_up_printer"),
      item(1, "Imprimer1", "print_document"),
      separator(1),
      // Filled from the preferences each time it opens.
      submenu(1, "FichiersRecents1", "Fichiers &récents", "document-open-recent"),
      separator(1),
      item(1, "Quitter1", "quit"),

      menu("Edition1", "&Edition"),
      item(1, "Annuler1", "undo"),
      item(1, "Rtablir1", "redo"),
      separator(1),
      item(1, "Copier1", "copy"),
      item(1, "Couper1", "cut"),
      item(1, "Coller1", "paste"),
      separator(1),
      item(1, "Rechercher1", "find"),
      item(1, "Suivant1", "find_next"),
      item(1, "Remplacer1", "replace"),
      item(1, "Allerlaligne1", "go_to_line"),
      separator(1),
      item(1, "Toutselectionner1", "select_all"),
      item(1, "Slectionnerlaligne1", "select_line"),
      separator(1),
      item(1, "Dupliquerlaligne1", "duplicate_line"),
      item(1, "Supprimerleligne1", "delete_line"),
      item(1, "Insreruneligne1", "insert_line"),
      separator(1),
      submenu(1, "Insrer1", "Insérer", "list-add"),
      item(2, "Date1", "insert_date"),
      item(2, "Heure1", "insert_time"),
      item(2, "Nomdufichier1", "insert_file_name"),
      item(2, "Rpertoiredufichier1", "insert_directory"),

      menu("Outils1", "&Outils"),
      item(1, "Metteenmajuscules1", "upper_case"),
      item(1, "Metteenminuscules1", "lower_case"),
      separator(1),
      submenu(1, "Trier1", "&Trier le fichier", "view-sort"),
      item(2, "Ascendant1", "sort_ascending"),
      item(2, "Descendant1", "sort_descending"),
      item(1, "Suppressiondesdoublons1", "remove_duplicates"),
      separator(1),
      item(1, "Remplir1", "fill"),
      item(1, "Concatneravecunautrefichier1", "concatenate_file"),
      separator(1),
      item(1, "Enleverlesaccents1", "remove_accents"),
      item(1, "Enleverlesblancs1", "remove_blanks"),
      separator(1),
      item(1, "Taillertouteslesligneslataillemaxi1", "pad_lines"),
      item(1, "Inverserlaselection1", "reverse_selection"),
      separator(1),
      submenu(1, "Crypter1", "Cr&ypter", "document-encrypt"),
      item(2, "Crypter2", "encrypt"),
      item(2, "Dcrypter1", "decrypt"),

      menu("Options1", "O&ptions"),
      item(1, "Dclarerdanslabasederegistre1", "declare_in_file_manager"),
      item(1, "Enleverdelabasederegistre1", "remove_from_file_manager"),
      separator(1),
      item(1, "Configuration1", "configuration"),

      menu("Affichage1", "&Affichage"),
      item(1, "Barreddition1", "toggle_edit_bar"),
      item(1, "Barredestatut1", "toggle_status_bar"),
      item(1, "Barredoutils1", "toggle_tools_bar"),
      item(1, "Echelle1", "toggle_ruler"),
      item(1, "OutilsBloc1", "toggle_block_bar"),
      separator(1),
      item(1, "NumerosDeLigne1", "toggle_line_numbers"),
      item(1, "RetourALaLigne1", "toggle_word_wrap"),
      item(1, "PoliceEditeur1", "choose_editor_font"),

      menu("N1", "&?"),
      item(1, "VelmorasurInternet1", "web_page"),
      separator(1),
      item(1, "Nouveauts1", "release_notes"),
      separator(1),
      item(1, "Apropos1", "about"),
  };
  return entries;
}

const std::vector<MenuEntry>& popupMenuEntries() {
  static const std::vector<MenuEntry> entries = {
      item(1, "Copier2", "copy"),
      item(1, "Couper2", "cut"),
      item(1, "Coller2", "paste"),
      separator(1),
      item(1, "Rechercher2", "find"),
      item(1, "Allerlaligne2", "go_to_line", "&Aller à la ligne..."),
      item(1, "Slectionnerlaligne2", "select_line", "&Sélectionner la ligne"),
      separator(1),
      submenu(1, "Outils2", "&Outils", "tools"),
      item(2, "Mettreenmajuscules1", "upper_case", "Mettre en m&ajuscules"),
      item(2, "Mettreenminuscules1", "lower_case", "Mettre en m&inuscules"),
      separator(2),
      submenu(2, "Trierlefichier1", "&Trier le fichier", "view-sort"),
      item(3, "Ordrecroissant1", "sort_ascending"),
      item(3, "Ordredcroissant1", "sort_descending"),
      item(2, "Suppressiondesdoublons2", "remove_duplicates"),
      separator(2),
      item(2, "Remplir2", "fill", "&Remplir"),
      item(2, "Concatneravecunautrefichier2", "concatenate_file"),
      separator(2),
      item(2, "Enleverlesaccents2", "remove_accents"),
      item(2, "Enleverlesblancs2", "remove_blanks"),
      separator(2),
      item(2, "Taillertouteslesligneslataillemaxi2", "pad_lines"),
      item(2, "Inverserlachainedecaractresslectionne1", "reverse_selection"),
      separator(2),
      submenu(2, "Crypter3", "Cr&ypter", "document-encrypt"),
      item(3, "Crypter4", "encrypt"),
      item(3, "Dcrypter2", "decrypt"),
      separator(1),
      item(1, "Dbutbloc1", "mark_block_start"),
      item(1, "Finbloc1", "mark_block_end"),
  };
  return entries;
}

const std::vector<ButtonEntry>& editBarButtons() {
  static const std::vector<ButtonEntry> buttons = {
      {"ToolButton1", "new_document", "Nouveau document", false},
      {"ToolButton29", "new_window", "Lancer une nouvelle instance de Orvex", false},
      {"ToolButton13", "open_document", "Ouvrir un document", true},
      {"ToolButton2", "save_document", "Enregistrer le document actuel", false},
      {"ToolButton23", "save_document_as", "Enregistrer sous...", false},
      {"ToolButton4", "print_document", "Imprimer le document", true},
      {"ToolButton5", "undo", "Annuler", true},
      {"ToolButton6", "copy", "Copier", true},
      {"ToolButton7", "cut", "Couper", false},
      {"ToolButton8", "paste", "Coller", false},
      {"ToolButton10", "find", "Rechercher", true},
      {"ToolButton25", "replace", "Remplacer", false},
      {"ToolButton31", "go_to_line", "Aller à la ligne n°", false},
      {"ToolButton42", "select_line", "Sélectionner la ligne", true},
      {"ToolButton44", "mark_block_start", "Début d'un bloc", false},
      {"ToolButton45", "mark_block_end", "Fin d'un bloc", false},
      {"ToolButton22", "configuration", "Configuration", true},
  };
  return buttons;
}

const std::vector<ButtonEntry>& toolsBarButtons() {
  static const std::vector<ButtonEntry> buttons = {
      {"ToolButton11", "upper_case", "Mettre en majuscules", false},
      {"ToolButton15", "lower_case", "Mettre en minuscules", false},
      {"ToolButton17", "fill", "Remplir", false},
      {"ToolButton18", "sort_ascending", "Tri croissant", false},
      {"ToolButton19", "sort_descending", "Tri décroissant", false},
      {"ToolButton16", "remove_duplicates", "Suppression des doublons", false},
      {"ToolButton20", "concatenate_file", "Concaténer un autre fichier en fin de celui ci", false},
      {"ToolButton21", "remove_accents", "Enlève les accents", false},
      {"ToolButton30", "remove_blanks", "Suppression des blancs", false},
      {"ToolButton28", "pad_lines", "Tailler toutes les lignes à la taille maxi", false},
      {"ToolButton32", "reverse_selection", "Inverser la chaine sélectionnée", false},
      {"ToolButton33", "encrypt", "Crypter le fichier", false},
      {"ToolButton34", "decrypt", "Décrypter le fichier", false},
  };
  return buttons;
}

const std::vector<ButtonEntry>& blockBarButtons() {
  static const std::vector<ButtonEntry> buttons = {
      {"ToolButton36", "copy_block", "Copier le bloc", false},
      {"ToolButton37", "cut_block", "Couper le bloc", false},
      {"ToolButton38", "paste_block", "Coller le bloc", false},
      {"ToolButton39", "delete_block", "Supprimer le bloc", false},
      {"ToolButton40", "insert_file_as_column", "Insère un fichier", false},
      {"ToolButton41", "fill_block", "Remplir dans un bloc en remplaçant le contenu du bloc", false},
      {"ToolButton27", "indent_block_left", "Indenter vers la gauche", false},
      {"ToolButton35", "indent_block_right", "Indenter vers la droite", false},
  };
  return buttons;
}

}  // namespace orvex::gui
