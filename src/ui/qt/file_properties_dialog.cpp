#include "ui/qt/file_properties_dialog.h"

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>

#include <QDialogButtonBox>
#include <QFile>
#include <QFormLayout>
#include <QLabel>
#include <QLocale>
#include <QMimeDatabase>
#include <QVBoxLayout>

#include "common/format.h"
#include "mp3/bitrat.h"

namespace tallymere {

namespace {

constexpr char kNoBitrate[] = "---";

QString Utf8(const std::string& text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// "-rw-r--r--" as ls shows it.
QString ModeText(mode_t mode) {
  QString text;
  text += S_ISDIR(mode) ? 'd' : S_ISLNK(mode) ? 'l' : '-';
  const char letters[] = "rwxrwxrwx";
  for (int bit = 0; bit < 9; ++bit) text += (mode & (0400 >> bit)) ? letters[bit] : '-';
  return text;
}

QString OwnerText(const struct stat& info) {
  const passwd* user = getpwuid(info.st_uid);
  const group* team = getgrgid(info.st_gid);
  const QString user_name =
      user != nullptr ? QString::fromLocal8Bit(user->pw_name) : QString::number(info.st_uid);
  const QString group_name =
      team != nullptr ? QString::fromLocal8Bit(team->gr_name) : QString::number(info.st_gid);
  return user_name + QStringLiteral(", ") + group_name;
}

bool HasMp3Extension(const std::string& path) {
  return path.size() > 4 && QString::fromLatin1(path.substr(path.size() - 4).c_str())
                                    .compare(QStringLiteral(".mp3"), Qt::CaseInsensitive) == 0;
}

void AddMp3Rows(const Platform& platform, const std::string& native_path, const CodePage& code_page,
                QList<PropertyRow>* rows) {
  Mp3Info info;
  Result<std::string> bitrate = ReadMp3Info(platform, native_path, &info, code_page);
  if (!bitrate.ok()) return;
  if (*bitrate != kNoBitrate) {
    rows->append({QObject::tr("MPEG"),
                  Utf8(info.MpegVersion) + QObject::tr(" Layer ") + Utf8(info.MpegLayer)});
    rows->append({QObject::tr("Bitrate"), Utf8(*bitrate) + QObject::tr(" kbps")});
    rows->append({QObject::tr("Sample rate"),
                  QString::number(static_cast<double>(info.SampleRate)) + QObject::tr(" Hz")});
  }
  if (info.HasId3v1Tag) {
    rows->append({QObject::tr("Artist"), Utf8(info.TagArtist)});
    rows->append({QObject::tr("Title"), Utf8(info.TagTitle)});
    rows->append({QObject::tr("Album"), Utf8(info.TagAlbum)});
    rows->append({QObject::tr("Year"), Utf8(info.TagYear)});
    rows->append({QObject::tr("Genre"), Utf8(info.TagGenre)});
  } else if (!info.Id3v2Version.empty()) {
    rows->append({QObject::tr("Artist"), Utf8(info.V2Artist)});
    rows->append({QObject::tr("Title"), Utf8(info.V2Title)});
    rows->append({QObject::tr("Album"), Utf8(info.V2Album)});
  }
  if (!info.Id3v2Version.empty()) {
    rows->append({QObject::tr("ID3v2"), Utf8(info.Id3v2Version)});
  }
}

}  // namespace

QList<PropertyRow> FilePropertyRows(const Platform& platform, const std::string& native_path,
                                    const CodePage& code_page) {
  QList<PropertyRow> rows;
  const size_t slash = native_path.rfind('/');
  const std::string name = slash == std::string::npos ? native_path : native_path.substr(slash + 1);
  const std::string folder = slash == std::string::npos ? std::string(".")
                             : slash == 0               ? std::string("/")
                                                        : native_path.substr(0, slash);
  rows.append({QObject::tr("Name"), QFile::decodeName(QByteArray::fromStdString(name))});
  rows.append({QObject::tr("Folder"), QFile::decodeName(QByteArray::fromStdString(folder))});

  const QString qt_path = QFile::decodeName(QByteArray::fromStdString(native_path));
  const QMimeType type = QMimeDatabase().mimeTypeForFile(qt_path);
  rows.append({QObject::tr("Type"), type.comment() + QStringLiteral(" (") + type.name() + ')'});

  struct stat info;
  if (stat(native_path.c_str(), &info) != 0) return rows;
  if (!S_ISDIR(info.st_mode)) {
    const qint64 size = static_cast<qint64>(info.st_size);
    rows.append({QObject::tr("Size"), QLocale().formattedDataSize(size) + QStringLiteral(" (") +
                                          QLocale().toString(size) + QObject::tr(" bytes)")});
  }
  rows.append({QObject::tr("Modified"), Utf8(FormatDateTime(info.st_mtime))});
  rows.append({QObject::tr("Permissions"), ModeText(info.st_mode)});
  rows.append({QObject::tr("Owner"), OwnerText(info)});
  if (S_ISREG(info.st_mode) && HasMp3Extension(native_path))
    AddMp3Rows(platform, native_path, code_page, &rows);
  return rows;
}

FilePropertiesDialog::FilePropertiesDialog(const Platform& platform, const std::string& native_path,
                                           const CodePage& code_page, QWidget* parent)
    : QDialog(parent) {
  setAttribute(Qt::WA_DeleteOnClose);
  setObjectName(QStringLiteral("filePropertiesDialog"));
  const QList<PropertyRow> rows = FilePropertyRows(platform, native_path, code_page);
  setWindowTitle(tr("%1 Properties").arg(rows.value(0).value));

  auto* form = new QFormLayout;
  for (const PropertyRow& row : rows) {
    auto* value = new QLabel(row.value);
    value->setTextInteractionFlags(Qt::TextSelectableByMouse);
    value->setTextFormat(Qt::PlainText);
    form->addRow(row.label + ':', value);
  }
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(buttons);
}

}  // namespace tallymere
