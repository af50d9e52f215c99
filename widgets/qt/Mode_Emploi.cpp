#include "widgets/qt/Mode_Emploi.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QStringList>

#include <algorithm>

#include "widgets/ProductAddresses.h"
#include "widgets/qt/WidgetHelpers.h"

namespace glanex {

using namespace Qt::Literals::StringLiterals;

QPointer<TFMode_Emploi> FMode_Emploi;

namespace {

constexpr QSize kClientSize(438, 290);

QString guideText() {
  const QStringList lines = {
      u"Mode d'emploi de Glanex!"_s,
      QString(),
      u"Le but est de pouvoir récupérer toutes les adresses emails qui"_s,
      u"peuvent être contenues dans un fichier texte ou dans le presse papier."_s,
      QString(),
      u"Globalement, l'emploi de ce logiciel est très simple."_s,
      u"A chaque passage sur un bouton, une fenêtre, une option, vous avez"_s,
      u"une description qui s'affiche dans la barre de status (tout en bas)."_s,
      QString(),
      u"- Charger un fichier texte (ou RTF) ou coller des données textes dans la"_s,
      u"fenêtre du haut."_s,
      u"- Cliquez sur le bouton \"Mise en Forme\""_s,
      u"- Le logiciel travaille"_s,
      u"- Vous obtenez dans la fenêtre du bas la liste des adresses emails"_s,
      u"contenues et trouvées à partir de la fenêtre du haut."_s,
      QString(),
      u"A partir de maintenant, vous avez de choix d'ajouter une virgule à la fin"_s,
      u"de chaque adresse Email (pour un traitement par exemple)."_s,
      u"Et ensuite de sauvegarder les données extraites dans un fichier (ou"_s,
      u"dans le presse papier) pour les coller dans un autre logiciel comme word."_s,
      QString(),
      u"Pour faire un test, coller le contenu HTML d'une page Web que vous"_s,
      u"savez avoir une adresse email à l'intérieur et voyez ! ;-)"_s,
      QString(),
      u"Voilà, c'est à peu près tout ce qu'il y a à savoir."_s,
      QString(),
      u"Bonne utilisation et merci d'utiliser ce petit programme...."_s,
      u"L'équipe Glanex ("_s + QString::fromUtf8(kContactAddress) + u')',
      QString(),
      u"Fiche produit : <"_s + QString::fromUtf8(kResellerProductSheet) + u'>',
      u"Commander : <"_s + QString::fromUtf8(kResellerOrderPage) + u'>',
  };
  return lines.join(u'\n');
}

// Where `size` stands centred over `owner`, frames included, kept off the left and top edges. The guide's
// frame is not known before it is shown, so it is taken to be the owner's.
QPoint centredOver(const QWidget& owner, QSize size) {
  const QRect outer = owner.frameGeometry();
  const QSize frame = outer.size() - owner.geometry().size();
  const QSize guide = size + frame;
  return {std::max(0, outer.x() + (outer.width() - guide.width()) / 2),
          std::max(0, outer.y() + (outer.height() - guide.height()) / 2)};
}

}  // namespace

TFMode_Emploi::TFMode_Emploi(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint) {
  setObjectName(u"FMode_Emploi"_s);
  setWindowTitle(u"Mode d'emploi de Glanex!"_s);
  // An open guide must not keep the program running once the main window has closed.
  setAttribute(Qt::WA_QuitOnClose, false);
  setFixedSize(kClientSize);
  setFont(face(u"MS Sans Serif"_s, 11));

  Button1_ = new QPushButton(u"Fermer"_s, this);
  Button1_->setObjectName(u"Button1"_s);
  Button1_->setGeometry(360, 272, 75, 17);
  // Enter presses the focused button here as in every dialog; Qt does so on its own only inside a QDialog.
  Button1_->setAutoDefault(true);
  connect(Button1_, &QPushButton::clicked, this, &TFMode_Emploi::Button1Click);

  Memo1_ = new QPlainTextEdit(guideText(), this);
  Memo1_->setObjectName(u"Memo1"_s);
  Memo1_->setGeometry(4, 4, 429, 265);
  Memo1_->setReadOnly(true);
  // Read-only drops the keyboard from the selection; the user may still select and copy with it.
  Memo1_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  // Only a vertical bar: the lines wrap at the box's width.
  Memo1_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  Memo1_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  Memo1_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  Memo1_->setTabChangesFocus(true);

  setTabOrder(Button1_, Memo1_);
  Button1_->setFocus();
}

void TFMode_Emploi::Button1Click() {
  close();
}

TFMode_Emploi* showGuide(QWidget& mainWindow) {
  auto* guide = new TFMode_Emploi();
  ownByMainWindow(mainWindow, guide);
  guide->move(centredOver(mainWindow, guide->size()));
  guide->show();
  FMode_Emploi = guide;
  return guide;
}

}  // namespace glanex
