#include "ui/qt/about_dialog.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QUrl>
#include <QVBoxLayout>

namespace tallymere {

QString AboutDialog::SystemInfoProgram() {
  for (const char* program : {"gnome-system-monitor", "plasma-systemmonitor", "ksysguard",
                              "xfce4-taskmanager", "mate-system-monitor", "hardinfo"}) {
    const QString path = QStandardPaths::findExecutable(program);
    if (!path.isEmpty()) return path;
  }
  return {};
}

AboutDialog::AboutDialog(const QString& help_page, QWidget* parent) : QDialog(parent) {
  setObjectName("frmAbout");
  setWindowTitle("About Tallymere");
  auto* layout = new QVBoxLayout(this);
  auto* title = new QLabel("<h2>Tallymere</h2>");
  layout->addWidget(title);
  layout->addWidget(new QLabel("Version " + QCoreApplication::applicationVersion()));
  layout->addWidget(new QLabel("Catalogues the files of your drives and disks, with MP3 details."));
  auto* link = new QLabel(QString("<a href=\"%1\">Tallymere Help</a>")
                              .arg(QUrl::fromLocalFile(help_page).toString(QUrl::FullyEncoded)));
  link->setObjectName("lblLink");
  link->setOpenExternalLinks(true);
  layout->addWidget(link);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
  QPushButton* system_info = buttons->addButton("System Info...", QDialogButtonBox::ActionRole);
  system_info->setObjectName("cmdSysInfo");
  const QString program = SystemInfoProgram();
  system_info->setEnabled(!program.isEmpty());
  if (program.isEmpty()) system_info->setToolTip("No system-information tool is installed.");
  connect(system_info, &QPushButton::clicked, this,
          [program] { QProcess::startDetached(program, {}); });
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  layout->addWidget(buttons);
}

}  // namespace tallymere
