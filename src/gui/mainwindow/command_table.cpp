#include "mainwindow/command_table.h"

#include "mainwindow/tform1.h"

namespace orvex::gui {

namespace {
constexpr MenuEntry separator(int depth) { return {depth, nullptr, nullptr, nullptr, nullptr, kSeparator, nullptr}; }
}  // namespace

const std::vector<MenuEntry>& mainMenuEntries() {
  static const std::vector<MenuEntry> entries = {
      {0, "Fichier1", "&Fichier", nullptr, nullptr, kPlain, nullptr},
      {1, "Nouveau2", "Nouveau &document...", "Ctrl+N", &TForm1::Nouveau2Click, kPlain, "document-new"},
      {1, "Nouveau1", "Nouvelle &fenêtre Orvex", nullptr, &TForm1::Nouveau1Click, kPlain, "window-new"},
      separator(1),
      {1, "Ouvrir1", "&Ouvrir...", "Ctrl+O", &TForm1::Ouvrir1Click, kPlain, "document-open"},
      {1, "Enregistrer2", "&Enregistrer", "Ctrl+E", &TForm1::Enregistrer2Click, kPlain, "document-save"},
      {1, "Enregistrer1", "Enregistrer &sous...", "Ctrl+S", &TForm1::Enregistrer1Click, kPlain, "document-save-as"},
      separator(1),
      {1, "Miseenpage1", "&Configurer l'imprimante...", "Ctrl+M", &TForm1::Miseenpage1Click, kPlain, "document-print-preview"},
      {1, "Imprimer1", "&Imprimer", "Ctrl+P", &TForm1::Imprimer1Click, kPlain, "document-print"},
      separator(1),
      {1, "Quitter1", "&Quitter", nullptr, &TForm1::Quitter1Click, kPlain, "application-exit"},

      {0, "Edition1", "&Edition", nullptr, nullptr, kPlain, nullptr},
      {1, "Annuler1", "&Annuler", "Ctrl+Z", &TForm1::Annuler1Click, kPlain, "edit-undo"},
      {1, "Rtablir1", "Réta&blir", "Ctrl+Shift+Z", &TForm1::Rtablir1Click, kPlain, "edit-redo"},
      separator(1),
      {1, "Copier1", "&Copier", "Ctrl+C", &TForm1::Copier1Click, kPlain, "edit-copy"},
      {1, "Couper1", "C&ouper", "Ctrl+X", &TForm1::Couper1Click, kPlain, "edit-cut"},
      {1, "Coller1", "Co&ller", "Ctrl+W", &TForm1::Coller1Click, kPlain, "edit-paste"},
      separator(1),
      {1, "Rechercher1", "&Rechercher", "Ctrl+F", &TForm1::Rechercher1Click, kPlain, "edit-find"},
      {1, "Suivant1", "&Suivant", "F3", &TForm1::Suivant1Click, kHidden, "go-down-search"},
      {1, "Remplacer1", "Re&mplacer", "Ctrl+R", &TForm1::Remplacer1Click, kPlain, "edit-find-replace"},
      {1, "Allerlaligne1", "Aller à la li&gne...", "Ctrl+G", &TForm1::Allerlaligne1Click, kPlain, "go-jump"},
      separator(1),
      {1, "Toutselectionner1", "&Tout selectionner", "Ctrl+A", &TForm1::Toutselectionner1Click, kPlain, "edit-select-all"},
      {1, "Slectionnerlaligne1", "Sélecti&onner la ligne", "Ctrl+L", &TForm1::Slectionnerlaligne1Click, kPlain, "edit-select-text"},
      separator(1),
      {1, "Dupliquerlaligne1", "&Dupliquer la ligne", "Ctrl+D", &TForm1::Dupliquerlaligne1Click, kPlain, "edit-duplicate"},
      {1, "Supprimerleligne1", "S&upprimer la ligne", "Ctrl+Y", &TForm1::Supprimerleligne1Click, kPlain, "edit-delete"},
      {1, "Insreruneligne1", "&Insérer une ligne", "Ctrl+I", &TForm1::Insreruneligne1Click, kPlain, "insert-text"},
      separator(1),
      {1, "Insrer1", "Insérer", nullptr, nullptr, kSubmenu, "list-add"},
      {2, "Date1", "&Date", "Ctrl+J", &TForm1::Date1Click, kPlain, "view-calendar-day"},
      {2, "Heure1", "&Heure", "Ctrl+K", &TForm1::Heure1Click, kPlain, "clock"},
      {2, "Nomdufichier1", "&Nom du fichier", "Ctrl+Q", &TForm1::Nomdufichier1Click, kPlain, "document-properties"},
      {2, "Rpertoiredufichier1", "&Répertoire du fichier", "Ctrl+T", &TForm1::Rpertoiredufichier1Click, kPlain, "folder"},

      {0, "Outils1", "&Outils", nullptr, nullptr, kPlain, nullptr},
      {1, "Metteenmajuscules1", "Mette en m&ajuscules", "Ctrl+Alt+A", &TForm1::Metteenmajuscules1Click, kPlain, "format-text-uppercase"},
      {1, "Metteenminuscules1", "Mette en m&inuscules", "Ctrl+Alt+B", &TForm1::Metteenminuscules1Click, kPlain, "format-text-lowercase"},
      separator(1),
      {1, "Trier1", "&Trier le fichier", nullptr, nullptr, kSubmenu, "view-sort"},
      {2, "Ascendant1", "Ordre &croissant", "Ctrl+Alt+C", &TForm1::Ascendant1Click, kPlain, "view-sort-ascending"},
      {2, "Descendant1", "Ordre &décroissant", "Ctrl+Alt+D", &TForm1::Descendant1Click, kPlain, "view-sort-descending"},
      {1, "Suppressiondesdoublons1", "&Suppression des doublons", "Ctrl+Alt+E", &TForm1::Suppressiondesdoublons1Click,
       kPlain, ":/icons/doublons.svg"},
      separator(1),
      {1, "Remplir1", "&Remplir...", "Ctrl+Alt+F", &TForm1::Remplir1Click, kPlain, ":/icons/remplir.svg"},
      {1, "Concatneravecunautrefichier1", "&Concaténer avec un autre fichier...", "Ctrl+Alt+G",
       &TForm1::Concatneravecunautrefichier1Click, kPlain, "merge"},
      separator(1),
      {1, "Enleverlesaccents1", "Enlever les &accents", "Ctrl+Alt+H", &TForm1::Enleverlesaccents1Click, kPlain, ":/icons/accents.svg"},
      {1, "Enleverlesblancs1", "Enlever les &blancs", "Ctrl+Alt+I", &TForm1::Enleverlesblancs1Click, kPlain, ":/icons/blancs.svg"},
      separator(1),
      {1, "Taillertouteslesligneslataillemaxi1", "Tailler toutes les &lignes à la taille maxi", "Ctrl+Alt+J",
       &TForm1::Taillertouteslesligneslataillemaxi1Click, kPlain, "format-justify-fill"},
      {1, "Inverserlaselection1", "I&nverser la chaine de caractères sélectionnée", "Ctrl+Alt+K",
       &TForm1::Inverserlaselection1Click, kPlain, "object-flip-horizontal"},
      separator(1),
      {1, "Crypter1", "Cr&ypter", nullptr, nullptr, kSubmenu, "document-encrypt"},
      {2, "Crypter2", "&Crypter", "Ctrl+Alt+L", &TForm1::Crypter2Click, kPlain, "document-encrypt"},
      {2, "Dcrypter1", "&Décrypter", "Ctrl+Alt+M", &TForm1::Dcrypter1Click, kPlain, "document-decrypt"},

      {0, "Options1", "O&ptions", nullptr, nullptr, kPlain, nullptr},
      {1, "Dclarerdanslabasederegistre1", "&Déclarer dans le gestionnaire de fichiers", nullptr, &TForm1::Dclarerdanslabasederegistre1Click, kPlain, "list-add"},
      {1, "Enleverdelabasederegistre1", "&Enlever du gestionnaire de fichiers", nullptr, &TForm1::Enleverdelabasederegistre1Click, kPlain, "list-remove"},
      separator(1),
      {1, "Configuration1", "&Configuration...", nullptr, &TForm1::Configuration1Click, kPlain, "configure"},

      {0, "Affichage1", "&Affichage", nullptr, nullptr, kPlain, nullptr},
      {1, "Barreddition1", "Barre d'&édition", nullptr, &TForm1::Barreddition1Click, kCheckable | kChecked, "configure-toolbars"},
      {1, "Barredestatut1", "Barre de &statut", nullptr, &TForm1::Barredestatut1Click, kCheckable | kChecked, "kt-show-statusbar"},
      {1, "Barredoutils1", "Barre d'&outils", nullptr, &TForm1::Barredoutils1Click, kCheckable | kChecked, "view-sidetree"},
      {1, "Echelle1", "E&chelle", nullptr, &TForm1::Echelle1Click, kCheckable | kChecked, "measure"},
      {1, "OutilsBloc1", "Barre d'outils &Bloc", nullptr, &TForm1::OutilsBloc1Click, kCheckable, "select-rectangular"},

      {0, "N1", "&?", nullptr, nullptr, kPlain, nullptr},
      {1, "VelmorasurInternet1", "Velmora sur Internet", nullptr, &TForm1::VelmorasurInternet1Click, kPlain, "globe"},
      separator(1),
      {1, "Nouveauts1", "&Nouveautés...", nullptr, &TForm1::Nouveauts1Click, kPlain, "view-pim-news"},
      separator(1),
      {1, "Apropos1", "A &propos...", nullptr, &TForm1::Apropos1Click, kPlain, "help-about"},
  };
  return entries;
}

const std::vector<MenuEntry>& popupMenuEntries() {
  static const std::vector<MenuEntry> entries = {
      {1, "Copier2", "&Copier", nullptr, &TForm1::Copier1Click, kPlain, "edit-copy"},
      {1, "Couper2", "C&ouper", nullptr, &TForm1::Couper1Click, kPlain, "edit-cut"},
      {1, "Coller2", "Co&ller", nullptr, &TForm1::Coller1Click, kPlain, "edit-paste"},
      separator(1),
      {1, "Rechercher2", "&Rechercher", nullptr, &TForm1::Rechercher1Click, kPlain, "edit-find"},
      {1, "Allerlaligne2", "&Aller à la ligne...", nullptr, &TForm1::Allerlaligne1Click, kPlain, "go-jump"},
      {1, "Slectionnerlaligne2", "&Sélectionner la ligne", nullptr, &TForm1::Slectionnerlaligne1Click, kPlain, "edit-select-text"},
      separator(1),
      {1, "Outils2", "&Outils", nullptr, nullptr, kSubmenu, "tools"},
      {2, "Mettreenmajuscules1", "Mettre en m&ajuscules", nullptr, &TForm1::Metteenmajuscules1Click, kPlain, "format-text-uppercase"},
      {2, "Mettreenminuscules1", "Mettre en m&inuscules", nullptr, &TForm1::Metteenminuscules1Click, kPlain, "format-text-lowercase"},
      separator(2),
      {2, "Trierlefichier1", "&Trier le fichier", nullptr, nullptr, kSubmenu, "view-sort"},
      {3, "Ordrecroissant1", "Ordre &croissant", nullptr, &TForm1::Ascendant1Click, kPlain, "view-sort-ascending"},
      {3, "Ordredcroissant1", "Ordre &décroissant", nullptr, &TForm1::Descendant1Click, kPlain, "view-sort-descending"},
      {2, "Suppressiondesdoublons2", "&Suppression des doublons", nullptr, &TForm1::Suppressiondesdoublons1Click,
       kPlain, ":/icons/doublons.svg"},
      separator(2),
      {2, "Remplir2", "&Remplir", nullptr, &TForm1::Remplir1Click, kPlain, ":/icons/remplir.svg"},
      {2, "Concatneravecunautrefichier2", "&Concaténer avec un autre fichier...", nullptr,
       &TForm1::Concatneravecunautrefichier1Click, kPlain, "merge"},
      separator(2),
      {2, "Enleverlesaccents2", "Enlever les &accents", nullptr, &TForm1::Enleverlesaccents1Click, kPlain, ":/icons/accents.svg"},
      {2, "Enleverlesblancs2", "Enlever les &blancs", nullptr, &TForm1::Enleverlesblancs1Click, kPlain, ":/icons/blancs.svg"},
      separator(2),
      {2, "Taillertouteslesligneslataillemaxi2", "Tailler toutes les &lignes à la taille maxi", nullptr,
       &TForm1::Taillertouteslesligneslataillemaxi1Click, kPlain, "format-justify-fill"},
      {2, "Inverserlachainedecaractresslectionne1", "I&nverser la chaine de caractères sélectionnée", nullptr,
       &TForm1::Inverserlaselection1Click, kPlain, "object-flip-horizontal"},
      separator(2),
      {2, "Crypter3", "Cr&ypter", nullptr, nullptr, kSubmenu, "document-encrypt"},
      {3, "Crypter4", "&Crypter", nullptr, &TForm1::Crypter2Click, kPlain, "document-encrypt"},
      {3, "Dcrypter2", "&Décrypter", nullptr, &TForm1::Dcrypter1Click, kPlain, "document-decrypt"},
      separator(1),
      {1, "Dbutbloc1", "&Début bloc", nullptr, &TForm1::Dbutbloc1Click, kPlain, ":/icons/debut-bloc.svg"},
      {1, "Finbloc1", "&Fin bloc", nullptr, &TForm1::Finbloc1Click, kPlain, ":/icons/fin-bloc.svg"},
  };
  return entries;
}

const std::vector<ButtonEntry>& editBarButtons() {
  static const std::vector<ButtonEntry> buttons = {
      {"ToolButton1", "Nouveau document", "document-new", &TForm1::Nouveau2Click, false},
      {"ToolButton29", "Lancer une nouvelle instance de Orvex", "window-new", &TForm1::Nouveau1Click, false},
      {"ToolButton13", "Ouvrir un document", "document-open", &TForm1::Ouvrir1Click, true},
      {"ToolButton2", "Enregistrer le document actuel", "document-save", &TForm1::Enregistrer2Click, false},
      {"ToolButton23", "Enregistrer sous...", "document-save-as", &TForm1::Enregistrer1Click, false},
      {"ToolButton4", "Imprimer le document", "document-print", &TForm1::Imprimer1Click, true},
      {"ToolButton5", "Annuler", "edit-undo", &TForm1::Annuler1Click, true},
      {"ToolButton6", "Copier", "edit-copy", &TForm1::Copier1Click, true},
      {"ToolButton7", "Couper", "edit-cut", &TForm1::Couper1Click, false},
      {"ToolButton8", "Coller", "edit-paste", &TForm1::Coller1Click, false},
      {"ToolButton10", "Rechercher", "edit-find", &TForm1::Rechercher1Click, true},
      {"ToolButton25", "Remplacer", "edit-find-replace", &TForm1::Remplacer1Click, false},
      {"ToolButton31", "Aller à la ligne n°", "go-jump", &TForm1::Allerlaligne1Click, false},
      {"ToolButton42", "Sélectionner la ligne", "edit-select-text", &TForm1::Slectionnerlaligne1Click, true},
      {"ToolButton44", "Début d'un bloc", ":/icons/debut-bloc.svg", &TForm1::Dbutbloc1Click, false},
      {"ToolButton45", "Fin d'un bloc", ":/icons/fin-bloc.svg", &TForm1::Finbloc1Click, false},
      {"ToolButton22", "Configuration", "configure", &TForm1::Configuration1Click, true},
  };
  return buttons;
}

const std::vector<ButtonEntry>& toolsBarButtons() {
  static const std::vector<ButtonEntry> buttons = {
      {"ToolButton11", "Mettre en majuscules", "format-text-uppercase", &TForm1::Metteenmajuscules1Click, false},
      {"ToolButton15", "Mettre en minuscules", "format-text-lowercase", &TForm1::Metteenminuscules1Click, false},
      {"ToolButton17", "Remplir", ":/icons/remplir.svg", &TForm1::Remplir1Click, false},
      {"ToolButton18", "Tri croissant", "view-sort-ascending", &TForm1::Ascendant1Click, false},
      {"ToolButton19", "Tri décroissant", "view-sort-descending", &TForm1::Descendant1Click, false},
      {"ToolButton16", "Suppression des doublons", ":/icons/doublons.svg", &TForm1::Suppressiondesdoublons1Click, false},
      {"ToolButton20", "Concaténer un autre fichier en fin de celui ci", "merge", &TForm1::Concatneravecunautrefichier1Click,
       false},
      {"ToolButton21", "Enlève les accents", ":/icons/accents.svg", &TForm1::Enleverlesaccents1Click, false},
      {"ToolButton30", "Suppression des blancs", ":/icons/blancs.svg", &TForm1::Enleverlesblancs1Click, false},
      {"ToolButton28", "Tailler toutes les lignes à la taille maxi", "format-justify-fill", &TForm1::Taillertouteslesligneslataillemaxi1Click,
       false},
      {"ToolButton32", "Inverser la chaine sélectionnée", "object-flip-horizontal", &TForm1::Inverserlaselection1Click, false},
      {"ToolButton33", "Crypter le fichier", "document-encrypt", &TForm1::Crypter2Click, false},
      {"ToolButton34", "Décrypter le fichier", "document-decrypt", &TForm1::Dcrypter1Click, false},
  };
  return buttons;
}

const std::vector<ButtonEntry>& blockBarButtons() {
  static const std::vector<ButtonEntry> buttons = {
      {"ToolButton36", "Copier le bloc", "edit-copy", &TForm1::ToolButton36Click, false},
      {"ToolButton37", "Couper le bloc", "edit-cut", &TForm1::ToolButton37Click, false},
      {"ToolButton38", "Coller le bloc", "edit-paste", &TForm1::ToolButton38Click, false},
      {"ToolButton39", "Supprimer le bloc", "edit-delete", &TForm1::ToolButton39Click, false},
      {"ToolButton40", "Insère un fichier", "document-import", &TForm1::ToolButton40Click, false},
      {"ToolButton41", "Remplir dans un bloc en remplaçant le contenu du bloc", ":/icons/remplir-bloc.svg", &TForm1::ToolButton41Click, false},
      {"ToolButton27", "Indenter vers la gauche", "format-indent-less", &TForm1::ToolButton27Click, false},
      {"ToolButton35", "Indenter vers la droite", "format-indent-more", &TForm1::ToolButton35Click, false},
  };
  return buttons;
}

}  // namespace orvex::gui
