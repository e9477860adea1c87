#include "qt/about_box_qt.h"

#include <QApplication>
#include <QDialog>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

#include "lintavo_version.h"
#include "qt/qt_text.h"
#include "qt/texts_linux.h"
#include "ui/shell/texts.h"

void ShowAbout() {
  QDialog box(QApplication::activeWindow());
  box.setObjectName("TAboutBox");
  box.setWindowTitle(Q(kAboutCaption));
  auto* layout = new QGridLayout(&box);
  auto* icon = new QLabel(&box);
  icon->setPixmap(box.style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(32, 32));
  layout->addWidget(icon, 0, 0, 3, 1, Qt::AlignTop);
  layout->addWidget(new QLabel(Q(kApplicationTitle), &box), 0, 1);
  layout->addWidget(new QLabel(Q(kAboutVersion) + LINTAVO_VERSION_TEXT, &box), 1, 1);
  auto* description = new QLabel(Q(kAboutDescription), &box);
  description->setWordWrap(true);
  description->setFixedWidth(330);
  layout->addWidget(description, 2, 1);
  auto* close = new QPushButton(Q(kAboutClose), &box);
  close->setDefault(true);
  QObject::connect(close, &QPushButton::clicked, &box, &QDialog::accept);
  layout->addWidget(close, 3, 1, Qt::AlignRight);
  box.exec();
}
