#include "mainwindow/command_table.h"

#include "mainwindow/main_window.h"

namespace orvex::gui {

namespace {
constexpr MenuEntry separator(int depth) { return {depth, nullptr, nullptr, nullptr, nullptr, kSeparator, nullptr}; }
}  // namespace

const std::vector<MenuEntry>& mainMenuEntries() {
  static const std::vector<MenuEntry> entries = {
      {0, "Fichier1", "&Fichier", nullptr, nullptr, kPlain, nullptr},
      {1, "Nouveau2", "Nouveau &document...", "Ctrl+N", &MainWindow::newDocument, kPlain, "document-new"},
      {1, "Nouveau1", "Nouvelle &fenêtre Orvex", nullptr, &MainWindow::newWindow, kPlain, "window-new"},
      separator(1),
      {1, "Ouvrir1", "&Ouvrir...", "Ctrl+O", &MainWindow::openDocument, kPlain, "document-open"},
      {1, "Enregistrer2", "&Enregistrer", "Ctrl+E", &MainWindow::saveDocument, kPlain, "document-save"},
      {1, "Enregistrer1", "Enregistrer &sous...", "Ctrl+S", &MainWindow::saveDocumentAs, kPlain, "document-save-as"},
      separator(1),
      {1, "Miseenpage1", "&Configurer l'imprimante...", "Ctrl+M", &MainWindow::setUpPrinter, kPlain, "document-print-preview"},
      {1, "Imprimer1", "&Imprimer", "Ctrl+P", &MainWindow::printDocument, kPlain, "document-print"},
      separator(1),
      {1, "Quitter1", "&Quitter", nullptr, &MainWindow::quit, kPlain, "application-exit"},

      {0, "Edition1", "&Edition", nullptr, nullptr, kPlain, nullptr},
      {1, "Annuler1", "&Annuler", "Ctrl+Z", &MainWindow::undo, kPlain, "edit-undo"},
      {1, "Rtablir1", "Réta&blir", "Ctrl+Shift+Z", &MainWindow::redo, kPlain, "edit-redo"},
      separator(1),
      {1, "Copier1", "&Copier", "Ctrl+C", &MainWindow::copy, kPlain, "edit-copy"},
      {1, "Couper1", "C&ouper", "Ctrl+X", &MainWindow::cut, kPlain, "edit-cut"},
      {1, "Coller1", "Co&ller", "Ctrl+W", &MainWindow::paste, kPlain, "edit-paste"},
      separator(1),
      {1, "Rechercher1", "&Rechercher", "Ctrl+F", &MainWindow::showFindDialog, kPlain, "edit-find"},
      {1, "Suivant1", "&Suivant", "F3", &MainWindow::findNext, kHidden, "go-down-search"},
      {1, "Remplacer1", "Re&mplacer", "Ctrl+R", &MainWindow::showReplaceDialog, kPlain, "edit-find-replace"},
      {1, "Allerlaligne1", "Aller à la li&gne...", "Ctrl+G", &MainWindow::goToLine, kPlain, "go-jump"},
      separator(1),
      {1, "Toutselectionner1", "&Tout selectionner", "Ctrl+A", &MainWindow::selectAll, kPlain, "edit-select-all"},
      {1, "Slectionnerlaligne1", "Sélecti&onner la ligne", "Ctrl+L", &MainWindow::selectLine, kPlain, "edit-select-text"},
      separator(1),
      {1, "Dupliquerlaligne1", "&Dupliquer la ligne", "Ctrl+D", &MainWindow::duplicateLine, kPlain, "edit-duplicate"},
      {1, "Supprimerleligne1", "S&upprimer la ligne", "Ctrl+Y", &MainWindow::deleteLine, kPlain, "edit-delete"},
      {1, "Insreruneligne1", "&Insérer une ligne", "Ctrl+I", &MainWindow::insertLine, kPlain, "insert-text"},
      separator(1),
      {1, "Insrer1", "Insérer", nullptr, nullptr, kSubmenu, "list-add"},
      {2, "Date1", "&Date", "Ctrl+J", &MainWindow::insertDate, kPlain, "view-calendar-day"},
      {2, "Heure1", "&Heure", "Ctrl+K", &MainWindow::insertTime, kPlain, "clock"},
      {2, "Nomdufichier1", "&Nom du fichier", "Ctrl+Q", &MainWindow::insertFileName, kPlain, "document-properties"},
      {2, "Rpertoiredufichier1", "&Répertoire du fichier", "Ctrl+T", &MainWindow::insertDirectory, kPlain, "folder"},

      {0, "Outils1", "&Outils", nullptr, nullptr, kPlain, nullptr},
      {1, "Metteenmajuscules1", "Mette en m&ajuscules", "Ctrl+Alt+A", &MainWindow::toUpperCase, kPlain, "format-text-uppercase"},
      {1, "Metteenminuscules1", "Mette en m&inuscules", "Ctrl+Alt+B", &MainWindow::toLowerCase, kPlain, "format-text-lowercase"},
      separator(1),
      {1, "Trier1", "&Trier le fichier", nullptr, nullptr, kSubmenu, "view-sort"},
      {2, "Ascendant1", "Ordre &croissant", "Ctrl+Alt+C", &MainWindow::sortAscending, kPlain, "view-sort-ascending"},
      {2, "Descendant1", "Ordre &décroissant", "Ctrl+Alt+D", &MainWindow::sortDescending, kPlain, "view-sort-descending"},
      {1, "Suppressiondesdoublons1", "&Suppression des doublons", "Ctrl+Alt+E", &MainWindow::removeDuplicates,
       kPlain, ":/icons/doublons.svg"},
      separator(1),
      {1, "Remplir1", "&Remplir...", "Ctrl+Alt+F", &MainWindow::fill, kPlain, ":/icons/remplir.svg"},
      {1, "Concatneravecunautrefichier1", "&Concaténer avec un autre fichier...", "Ctrl+Alt+G",
       &MainWindow::concatenateFile, kPlain, "merge"},
      separator(1),
      {1, "Enleverlesaccents1", "Enlever les &accents", "Ctrl+Alt+H", &MainWindow::removeAccents, kPlain, ":/icons/accents.svg"},
      {1, "Enleverlesblancs1", "Enlever les &blancs", "Ctrl+Alt+I", &MainWindow::removeBlanks, kPlain, ":/icons/blancs.svg"},
      separator(1),
      {1, "Taillertouteslesligneslataillemaxi1", "Tailler toutes les &lignes à la taille maxi", "Ctrl+Alt+J",
       &MainWindow::padLines, kPlain, "format-justify-fill"},
      {1, "Inverserlaselection1", "I&nverser la chaine de caractères sélectionnée", "Ctrl+Alt+K",
       &MainWindow::reverseSelection, kPlain, "object-flip-horizontal"},
      separator(1),
      {1, "Crypter1", "Cr&ypter", nullptr, nullptr, kSubmenu, "document-encrypt"},
      {2, "Crypter2", "&Crypter", "Ctrl+Alt+L", &MainWindow::encrypt, kPlain, "document-encrypt"},
      {2, "Dcrypter1", "&Décrypter", "Ctrl+Alt+M", &MainWindow::decrypt, kPlain, "document-decrypt"},

      {0, "Options1", "O&ptions", nullptr, nullptr, kPlain, nullptr},
      {1, "Dclarerdanslabasederegistre1", "&Déclarer dans le gestionnaire de fichiers", nullptr, &MainWindow::declareInFileManager, kPlain, "list-add"},
      {1, "Enleverdelabasederegistre1", "&Enlever du gestionnaire de fichiers", nullptr, &MainWindow::removeFromFileManager, kPlain, "list-remove"},
      separator(1),
      {1, "Configuration1", "&Configuration...", nullptr, &MainWindow::showConfiguration, kPlain, "configure"},

      {0, "Affichage1", "&Affichage", nullptr, nullptr, kPlain, nullptr},
      {1, "Barreddition1", "Barre d'&édition", nullptr, &MainWindow::toggleEditBar, kCheckable | kChecked, "configure-toolbars"},
      {1, "Barredestatut1", "Barre de &statut", nullptr, &MainWindow::toggleStatusBar, kCheckable | kChecked, "kt-show-statusbar"},
      {1, "Barredoutils1", "Barre d'&outils", nullptr, &MainWindow::toggleToolsBar, kCheckable | kChecked, "view-sidetree"},
      {1, "Echelle1", "E&chelle", nullptr, &MainWindow::toggleRuler, kCheckable | kChecked, "measure"},
      {1, "OutilsBloc1", "Barre d'outils &Bloc", nullptr, &MainWindow::toggleBlockBar, kCheckable, "select-rectangular"},

      {0, "N1", "&?", nullptr, nullptr, kPlain, nullptr},
      {1, "VelmorasurInternet1", "Velmora sur Internet", nullptr, &MainWindow::openWebPage, kPlain, "globe"},
      separator(1),
      {1, "Nouveauts1", "&Nouveautés...", nullptr, &MainWindow::showReleaseNotes, kPlain, "view-pim-news"},
      separator(1),
      {1, "Apropos1", "A &propos...", nullptr, &MainWindow::showAbout, kPlain, "help-about"},
  };
  return entries;
}

const std::vector<MenuEntry>& popupMenuEntries() {
  static const std::vector<MenuEntry> entries = {
      {1, "Copier2", "&Copier", nullptr, &MainWindow::copy, kPlain, "edit-copy"},
      {1, "Couper2", "C&ouper", nullptr, &MainWindow::cut, kPlain, "edit-cut"},
      {1, "Coller2", "Co&ller", nullptr, &MainWindow::paste, kPlain, "edit-paste"},
      separator(1),
      {1, "Rechercher2", "&Rechercher", nullptr, &MainWindow::showFindDialog, kPlain, "edit-find"},
      {1, "Allerlaligne2", "&Aller à la ligne...", nullptr, &MainWindow::goToLine, kPlain, "go-jump"},
      {1, "Slectionnerlaligne2", "&Sélectionner la ligne", nullptr, &MainWindow::selectLine, kPlain, "edit-select-text"},
      separator(1),
      {1, "Outils2", "&Outils", nullptr, nullptr, kSubmenu, "tools"},
      {2, "Mettreenmajuscules1", "Mettre en m&ajuscules", nullptr, &MainWindow::toUpperCase, kPlain, "format-text-uppercase"},
      {2, "Mettreenminuscules1", "Mettre en m&inuscules", nullptr, &MainWindow::toLowerCase, kPlain, "format-text-lowercase"},
      separator(2),
      {2, "Trierlefichier1", "&Trier le fichier", nullptr, nullptr, kSubmenu, "view-sort"},
      {3, "Ordrecroissant1", "Ordre &croissant", nullptr, &MainWindow::sortAscending, kPlain, "view-sort-ascending"},
      {3, "Ordredcroissant1", "Ordre &décroissant", nullptr, &MainWindow::sortDescending, kPlain, "view-sort-descending"},
      {2, "Suppressiondesdoublons2", "&Suppression des doublons", nullptr, &MainWindow::removeDuplicates,
       kPlain, ":/icons/doublons.svg"},
      separator(2),
      {2, "Remplir2", "&Remplir", nullptr, &MainWindow::fill, kPlain, ":/icons/remplir.svg"},
      {2, "Concatneravecunautrefichier2", "&Concaténer avec un autre fichier...", nullptr,
       &MainWindow::concatenateFile, kPlain, "merge"},
      separator(2),
      {2, "Enleverlesaccents2", "Enlever les &accents", nullptr, &MainWindow::removeAccents, kPlain, ":/icons/accents.svg"},
      {2, "Enleverlesblancs2", "Enlever les &blancs", nullptr, &MainWindow::removeBlanks, kPlain, ":/icons/blancs.svg"},
      separator(2),
      {2, "Taillertouteslesligneslataillemaxi2", "Tailler toutes les &lignes à la taille maxi", nullptr,
       &MainWindow::padLines, kPlain, "format-justify-fill"},
      {2, "Inverserlachainedecaractresslectionne1", "I&nverser la chaine de caractères sélectionnée", nullptr,
       &MainWindow::reverseSelection, kPlain, "object-flip-horizontal"},
      separator(2),
      {2, "Crypter3", "Cr&ypter", nullptr, nullptr, kSubmenu, "document-encrypt"},
      {3, "Crypter4", "&Crypter", nullptr, &MainWindow::encrypt, kPlain, "document-encrypt"},
      {3, "Dcrypter2", "&Décrypter", nullptr, &MainWindow::decrypt, kPlain, "document-decrypt"},
      separator(1),
      {1, "Dbutbloc1", "&Début bloc", nullptr, &MainWindow::markBlockStart, kPlain, ":/icons/debut-bloc.svg"},
      {1, "Finbloc1", "&Fin bloc", nullptr, &MainWindow::markBlockEnd, kPlain, ":/icons/fin-bloc.svg"},
  };
  return entries;
}

const std::vector<ButtonEntry>& editBarButtons() {
  static const std::vector<ButtonEntry> buttons = {
      {"ToolButton1", "Nouveau document", "document-new", &MainWindow::newDocument, false},
      {"ToolButton29", "Lancer une nouvelle instance de Orvex", "window-new", &MainWindow::newWindow, false},
      {"ToolButton13", "Ouvrir un document", "document-open", &MainWindow::openDocument, true},
      {"ToolButton2", "Enregistrer le document actuel", "document-save", &MainWindow::saveDocument, false},
      {"ToolButton23", "Enregistrer sous...", "document-save-as", &MainWindow::saveDocumentAs, false},
      {"ToolButton4", "Imprimer le document", "document-print", &MainWindow::printDocument, true},
      {"ToolButton5", "Annuler", "edit-undo", &MainWindow::undo, true},
      {"ToolButton6", "Copier", "edit-copy", &MainWindow::copy, true},
      {"ToolButton7", "Couper", "edit-cut", &MainWindow::cut, false},
      {"ToolButton8", "Coller", "edit-paste", &MainWindow::paste, false},
      {"ToolButton10", "Rechercher", "edit-find", &MainWindow::showFindDialog, true},
      {"ToolButton25", "Remplacer", "edit-find-replace", &MainWindow::showReplaceDialog, false},
      {"ToolButton31", "Aller à la ligne n°", "go-jump", &MainWindow::goToLine, false},
      {"ToolButton42", "Sélectionner la ligne", "edit-select-text", &MainWindow::selectLine, true},
      {"ToolButton44", "Début d'un bloc", ":/icons/debut-bloc.svg", &MainWindow::markBlockStart, false},
      {"ToolButton45", "Fin d'un bloc", ":/icons/fin-bloc.svg", &MainWindow::markBlockEnd, false},
      {"ToolButton22", "Configuration", "configure", &MainWindow::showConfiguration, true},
  };
  return buttons;
}

const std::vector<ButtonEntry>& toolsBarButtons() {
  static const std::vector<ButtonEntry> buttons = {
      {"ToolButton11", "Mettre en majuscules", "format-text-uppercase", &MainWindow::toUpperCase, false},
      {"ToolButton15", "Mettre en minuscules", "format-text-lowercase", &MainWindow::toLowerCase, false},
      {"ToolButton17", "Remplir", ":/icons/remplir.svg", &MainWindow::fill, false},
      {"ToolButton18", "Tri croissant", "view-sort-ascending", &MainWindow::sortAscending, false},
      {"ToolButton19", "Tri décroissant", "view-sort-descending", &MainWindow::sortDescending, false},
      {"ToolButton16", "Suppression des doublons", ":/icons/doublons.svg", &MainWindow::removeDuplicates, false},
      {"ToolButton20", "Concaténer un autre fichier en fin de celui ci", "merge", &MainWindow::concatenateFile,
       false},
      {"ToolButton21", "Enlève les accents", ":/icons/accents.svg", &MainWindow::removeAccents, false},
      {"ToolButton30", "Suppression des blancs", ":/icons/blancs.svg", &MainWindow::removeBlanks, false},
      {"ToolButton28", "Tailler toutes les lignes à la taille maxi", "format-justify-fill", &MainWindow::padLines,
       false},
      {"ToolButton32", "Inverser la chaine sélectionnée", "object-flip-horizontal", &MainWindow::reverseSelection, false},
      {"ToolButton33", "Crypter le fichier", "document-encrypt", &MainWindow::encrypt, false},
      {"ToolButton34", "Décrypter le fichier", "document-decrypt", &MainWindow::decrypt, false},
  };
  return buttons;
}

const std::vector<ButtonEntry>& blockBarButtons() {
  static const std::vector<ButtonEntry> buttons = {
      {"ToolButton36", "Copier le bloc", "edit-copy", &MainWindow::copyBlockToClipboard, false},
      {"ToolButton37", "Couper le bloc", "edit-cut", &MainWindow::cutBlock, false},
      {"ToolButton38", "Coller le bloc", "edit-paste", &MainWindow::pasteBlock, false},
      {"ToolButton39", "Supprimer le bloc", "edit-delete", &MainWindow::deleteBlock, false},
      {"ToolButton40", "Insère un fichier", "document-import", &MainWindow::insertFileAsColumn, false},
      {"ToolButton41", "Remplir dans un bloc en remplaçant le contenu du bloc", ":/icons/remplir-bloc.svg", &MainWindow::fillBlock, false},
      {"ToolButton27", "Indenter vers la gauche", "format-indent-less", &MainWindow::indentBlockLeft, false},
      {"ToolButton35", "Indenter vers la droite", "format-indent-more", &MainWindow::indentBlockRight, false},
  };
  return buttons;
}

}  // namespace orvex::gui
