// The "Mode Batch" page of the configuration dialog, also the screen of "orvex /?".

#include <QFrame>
#include <QLabel>
#include <QVBoxLayout>

#include "components/background.h"
#include "components/stored_colour.h"
#include "config/configuration_dialog.h"

namespace orvex::gui {

namespace {

const QString kIntroduction = QStringLiteral(
    "Orvex dispose d'un mode batch. Cela signifie que vous pouvez utiliser Orvex dans des fichiers de commandes "
    "(scripts shell par exemple). Pour faire appel à Orvex en mode batch, il suffit de lancer Orvex avec au moins "
    "2 paramètres.");

QString option(int digit, const char* meaning) {
  return QStringLiteral("<td><span style=\"color:teal\">%1</span> %2</td>").arg(digit).arg(QString::fromUtf8(meaning));
}

QString helpText() {
  const QString heading = QStringLiteral("<p style=\"margin-top:6px; margin-bottom:2px\"><u>%1</u></p>");
  QString text;
  text += heading.arg(QStringLiteral("Syntaxe générale :"));
  text += QStringLiteral(
      "<p style=\"margin:0 0 0 16px\"><span style=\"color:blue\">orvex</span> "
      "<span style=\"color:red\"><i>chemin et nom du fichier</i></span> "
      "<span style=\"color:teal\"><i>options séparées par des blancs</i></span></p>");
  text += heading.arg(QStringLiteral("Exemple d'appel à Orvex en mode batch :"));
  text += QStringLiteral(
      "<table style=\"margin-left:16px\" cellspacing=\"0\" cellpadding=\"0\">"
      "<tr><td><span style=\"color:blue\">orvex /tmp/toto.txt 5 1 8</span></td>"
      "<td style=\"padding-left:24px\"><span style=\"color:blue\">orvex /?</span></td></tr>"
      "<tr><td width=\"70%\">Dans cet exemple, le fichier /tmp/toto.txt va subir les traitements : Suppression des "
      "accents, puis mise en majuscules et enfin il va être crypté.</td>"
      "<td style=\"padding-left:24px\">Affiche cet écran d'aide</td></tr></table>");
  text += QStringLiteral(
      "<p style=\"margin:4px 0 0 16px\"><span style=\"color:blue\">orvex - 5 1 &lt; entrée.txt &gt; "
      "sortie.txt</span><br>Ici, Orvex lit le texte sur l'entrée standard, enlève les accents, le met en majuscules "
      "et écrit le résultat sur la sortie standard, sans créer d'autre fichier que ses fichiers temporaires.</p>");
  text += heading.arg(QStringLiteral("Liste des options en mode batch :"));
  text += QStringLiteral("<table style=\"margin-left:16px\" cellspacing=\"0\" cellpadding=\"1\" width=\"95%\">");
  text += QStringLiteral("<tr>") + option(1, ": Mise en majuscule") + option(4, ": Tri décroissant") +
          option(7, ": Tailler les lignes") + QStringLiteral("</tr>");
  text += QStringLiteral("<tr>") + option(2, ": Mise en minuscule") + option(5, ": Enlève les accents") +
          option(8, ": Crytper le fichier") + QStringLiteral("</tr>");
  text += QStringLiteral("<tr>") + option(3, ": Tri croissant") + option(6, ": Enlève les blancs") +
          option(9, ": Décrypter le fichier") + QStringLiteral("</tr>");
  text += QStringLiteral("</table>");
  return text;
}

}  // namespace

QWidget* createBatchHelpPage(QWidget* parent) {
  auto* page = new QWidget(parent);
  page->setObjectName(QStringLiteral("TabSheet3"));
  auto* column = new QVBoxLayout(page);
  column->setSpacing(0);

  auto* panel = new QFrame(page);
  paintBackground(panel, fromStoredColour(0x00BBFFFF));
  auto* introduction = new QLabel(kIntroduction, panel);
  introduction->setObjectName(QStringLiteral("BatchIntroduction"));
  introduction->setWordWrap(true);
  auto* panelLayout = new QVBoxLayout(panel);
  panelLayout->setContentsMargins(6, 4, 6, 4);
  panelLayout->addWidget(introduction);
  column->addWidget(panel);
  column->addSpacing(4);

  auto* help = new QLabel(helpText(), page);
  help->setObjectName(QStringLiteral("BatchHelp"));
  help->setTextFormat(Qt::RichText);
  help->setWordWrap(true);
  column->addWidget(help);
  column->addStretch();
  return page;
}

}  // namespace orvex::gui
