#include "forms/tlistmessageform1.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextEdit>
#include <QVBoxLayout>

#include "controls/tbiblecombobox.h"
#include "core/tbible.h"
#include "platform/checkedconnect.h"
#include "platform/winhelp.h"
#include "platform/windowframe.h"

TListMessageForm1::TListMessageForm1(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Библията"));
  setObjectName(QStringLiteral("ListMessageForm1"));
  setModal(true);
  SetHelpContext(this, HelpContext);
  SetDialogFrame(this);

  Memo1 = new QTextEdit(this);
  Memo1->setReadOnly(true);
  Memo1->setFrameStyle(QFrame::NoFrame);
  Memo1->setFocusPolicy(Qt::NoFocus);
  Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  Memo1->viewport()->setAutoFillBackground(false);
  Memo1->setStyleSheet(QStringLiteral("QTextEdit { background: transparent; }"));

  Label1 = new QLabel(
      QStringLiteral("Това съобщение се появява, когато броя на елементите в списъка надвиши:"),
      this);
  Label1->setWordWrap(true);
  Label1->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  Edit1 = new QLineEdit(QStringLiteral("200"), this);
  Edit1->setMaximumWidth(Edit1->fontMetrics().horizontalAdvance(QStringLiteral("0000000")) + 12);
  Label1->setBuddy(Edit1);

  Button2 = new QPushButton(QStringLiteral("Добре"), this);
  Button2->setDefault(true);
  Button2->setAutoDefault(true);
  Button1 = new QPushButton(QStringLiteral("Изтрий веднага"), this);
  Button1->setAutoDefault(false);
  Button3 = new QPushButton(QStringLiteral("Помощ"), this);
  Button3->setAutoDefault(false);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(12, 12, 12, 12);
  layout->setSpacing(10);
  layout->addWidget(Memo1);
  auto* limitRow = new QHBoxLayout();
  limitRow->addWidget(Label1, 1);
  limitRow->addWidget(Edit1);
  layout->addLayout(limitRow);
  auto* buttons = new QHBoxLayout();
  buttons->addStretch(1);
  buttons->addWidget(Button2);
  buttons->addWidget(Button1);
  buttons->addWidget(Button3);
  buttons->addStretch(1);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  Memo1->setFixedWidth(400);

  BIBLE_CONNECT(Button2, &QPushButton::clicked, &FConnections, [this] { accept(); });
  BIBLE_CONNECT(Button1, &QPushButton::clicked, &FConnections, [this] { Button1Click(); });
  BIBLE_CONNECT(Button3, &QPushButton::clicked, &FConnections, [this] { Button3Click(); });
}

void TListMessageForm1::CheckList(TBibleComboBox* box, const QString& listName) {
  Edit1->setText(QString::number(ListLimit));
  FBox = box;
  if (!box || box->Count() <= ListLimit) return;
  Memo1->setPlainText(QStringLiteral("Списъка с ") + listName + QStringLiteral(" съдържа вече ") +
                      QString::number(box->Count()) +
                      QStringLiteral(" елемента. Големият брой елементи ще води до забавяне. ") +
                      QStringLiteral("Препоръчително е да бъде изтрит."));
  Memo1->selectAll();
  Memo1->setAlignment(Qt::AlignCenter);
  QTextCursor c = Memo1->textCursor();
  c.clearSelection();
  Memo1->setTextCursor(c);
  // The message takes the height of its lines, no more.
  Memo1->document()->setTextWidth(Memo1->width());
  Memo1->setFixedHeight(int(Memo1->document()->size().height()) + 4);
  exec();
}

void TListMessageForm1::Button1Click() {
  if (FBox) FBox->Clear();
  accept();
}

void TListMessageForm1::Button3Click() { ShowHelpTopic(QStringLiteral("ListMessage")); }

void TListMessageForm1::done(int result) {
  // Any way of closing takes a valid limit over; anything else leaves the old one.
  bool ok = false;
  const int limit = Edit1->text().trimmed().toInt(&ok);
  if (ok) ListLimit = limit;
  QDialog::done(result);
}

void TListMessageForm1::showEvent(QShowEvent* event) {
  const std::string name = CyrillicFontName();
  if (!name.empty()) {
    QFont f = font();
    f.setFamily(QString::fromStdString(name));
    setFont(f);
  }
  QDialog::showEvent(event);
}

void TListMessageForm1::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F1) {
    ShowHelpContext(HelpContext);
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}
