#include "ui/qt/options_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "ui/qt/colour_number.h"
#include "ui/qt/qt_text.h"

namespace tallymere {
namespace {

QCheckBox* CheckBox(const char* name, const char* caption) {
  auto* box = new QCheckBox(caption);
  box->setObjectName(name);
  return box;
}

QSpinBox* Spinner(const char* name, int low, int high, int step) {
  auto* spinner = new QSpinBox;
  spinner->setObjectName(name);
  spinner->setRange(low, high);
  spinner->setSingleStep(step);
  return spinner;
}

int Checked(const QCheckBox* box) { return box->isChecked() ? 1 : 0; }

// The ranges the spin boxes offer.
struct Range {
  int low;
  int high;
};
constexpr Range kTableWidthPercent{25, 100};
constexpr Range kBorderWidth{0, 5};
constexpr Range kColumnWidth{50, 150};
constexpr int kColumnWidthStep = 5;
constexpr int kSwatchWidth = 48;
constexpr int kSwatchHeight = 20;

}  // namespace

OptionsDialog::OptionsDialog(CatalogSession& session, WindowServices& services, QWidget* parent)
    : QDialog(parent), m_controller(session, services.ui()) {
  setObjectName("frmOption");
  setWindowTitle(ToQt(kOptionsCaption));
  setModal(false);
  m_controller.close_window = [this] { hide(); };
  auto* grid = new QGridLayout;
  grid->addWidget(BuildScanBox(), 0, 0);
  grid->addWidget(BuildStyleBox(), 1, 0, 2, 1);
  grid->addWidget(BuildHtmlBox(), 0, 1, 2, 1);
  grid->addWidget(BuildFormatBox(), 2, 1);
  grid->addWidget(BuildLeaveOutBox(), 3, 0, 1, 2);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  const QString ok = ToQt(EntryOf(kOptionCommands, OptionCommand::kOK).name);
  for (QPushButton* button : CommandButtons(kOptionButtons)) {
    button->setDefault(button->objectName() == ok);
    buttons->addWidget(button);
  }
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addLayout(buttons);
}

std::vector<QPushButton*> OptionsDialog::CommandButtons(std::string_view place) {
  std::vector<QPushButton*> buttons;
  for (const auto& entry : kOptionCommands) {
    if (entry.place != place) continue;
    auto* button = new QPushButton(place == kOptionSwatches ? QString() : ToQt(entry.caption));
    button->setObjectName(ToQt(entry.name));
    button->setToolTip(ToQt(entry.tip));
    // The controls' values go to the controller before its handler runs, and
    // come back after it.
    connect(button, &QPushButton::clicked, this, [this, id = entry.id] {
      Push();
      m_controller.Run(id);
      Show();
    });
    buttons.push_back(button);
  }
  return buttons;
}

QWidget* OptionsDialog::BuildScanBox() {
  auto* scan = new QGroupBox("Scan Options");
  auto* scan_layout = new QFormLayout(scan);
  m_bitrate = CheckBox("chkBitRate", "Include bitrate when scan MP3s ");
  m_type = new QComboBox;
  m_type->setObjectName("txtType");
  m_type->setEditable(true);
  for (const std::string& item : FrmOption::txtType_items()) m_type->addItem(ToQt(item));
  m_id3v1_encoding = new QComboBox;
  m_id3v1_encoding->setObjectName("cmbId3v1Encoding");
  for (std::string_view name : kCodePageNames) m_id3v1_encoding->addItem(ToQt(name));
  m_id3v1_encoding->setToolTip(ToQt(FrmOption::kId3v1EncodingTip));
  scan_layout->addRow(m_bitrate);
  scan_layout->addRow("Scan for this file type:", m_type);
  scan_layout->addRow(ToQt(FrmOption::kId3v1EncodingCaption), m_id3v1_encoding);
  m_write_id3v2 = CheckBox("chkWriteId3v2", FrmOption::kWriteId3v2Caption.data());
  m_write_id3v2->setToolTip(ToQt(FrmOption::kWriteId3v2Tip));
  scan_layout->addRow(m_write_id3v2);
  return scan;
}

QWidget* OptionsDialog::BuildLeaveOutBox() {
  auto* box = new QGroupBox(ToQt(kOptionLeaveOut));
  auto* layout = new QVBoxLayout(box);
  m_leave_out = new QPlainTextEdit;
  m_leave_out->setObjectName("txtLeaveOut");
  m_leave_out->setToolTip(ToQt(FrmOption::kLeaveOutTip));
  m_leave_out->setLineWrapMode(QPlainTextEdit::NoWrap);
  m_leave_out->setFixedHeight(m_leave_out->fontMetrics().lineSpacing() * 6);
  m_hidden = CheckBox("chkHidden", FrmOption::kHiddenCaption.data());
  auto* row = new QHBoxLayout;
  row->addWidget(m_hidden);
  row->addStretch();
  for (QPushButton* button : CommandButtons(kOptionLeaveOut)) row->addWidget(button);
  layout->addWidget(m_leave_out);
  layout->addLayout(row);
  return box;
}

QWidget* OptionsDialog::BuildStyleBox() {
  auto* style = new QGroupBox("List Style");
  auto* style_layout = new QVBoxLayout(style);
  m_one = new QRadioButton("Output list as sigle sorted list");
  m_one->setObjectName("optOne");
  m_separate = new QRadioButton("Output list by folders");
  m_separate->setObjectName("optSeperate");
  m_path = CheckBox("chkPath", "Include file path");
  m_size = CheckBox("chkSize", "Include file size");
  m_header = CheckBox("chkHeader", "Include Header and Footer text");
  m_summary = CheckBox("chkSum", "Include Summary info");
  m_html = CheckBox("chkHtml", "Output list as HTML file");
  m_m3u = CheckBox("chkM3U", "Output as MP3 playlist file");
  m_disk_labels = CheckBox("chkDiskLabels", FrmOption::kDiskLabelsCaption.data());
  m_disk_labels->setToolTip(ToQt(FrmOption::kDiskLabelsTip));
  for (QWidget* widget : std::initializer_list<QWidget*>{
           m_one, m_separate, m_path, m_size, m_header, m_summary, m_html, m_m3u, m_disk_labels}) {
    style_layout->addWidget(widget);
  }
  return style;
}

QWidget* OptionsDialog::BuildHtmlBox() {
  auto* html = new QGroupBox("Html Options");
  auto* html_layout = new QFormLayout(html);
  const std::vector<QPushButton*> swatches = CommandButtons(kOptionSwatches);
  m_table_colour = swatches.at(0);
  m_page_colour = swatches.at(1);
  for (QPushButton* swatch : swatches) {
    swatch->setFixedSize(kSwatchWidth, kSwatchHeight);
    const auto command = CommandNamed(kOptionCommands, FromQt(swatch->objectName()));
    html_layout->addRow(ToQt(EntryOf(kOptionCommands, *command).caption), swatch);
  }
  m_table_width = Spinner("txtTW", kTableWidthPercent.low, kTableWidthPercent.high, 1);
  m_border_width = Spinner("cmbBW", kBorderWidth.low, kBorderWidth.high, 1);
  m_align = new QComboBox;
  m_align->setObjectName("cmbAlign");
  for (const std::string& item : FrmOption::cmbAlign_items()) m_align->addItem(ToQt(item));
  html_layout->addRow("Table width (%):", m_table_width);
  html_layout->addRow("Table border width:", m_border_width);
  html_layout->addRow("Table text alignment:", m_align);
  return html;
}

QWidget* OptionsDialog::BuildFormatBox() {
  auto* format = new QGroupBox("List Format");
  auto* format_layout = new QFormLayout(format);
  m_column_width = Spinner("txtCol", kColumnWidth.low, kColumnWidth.high, kColumnWidthStep);
  format_layout->addRow("Column Width (Char)", m_column_width);
  return format;
}

void OptionsDialog::Load() {
  m_controller.Form_Load();
  Show();
}

void OptionsDialog::closeEvent(QCloseEvent* event) {
  // The title bar's close is Cancel.
  m_controller.cmdCancel_Click();
  QDialog::closeEvent(event);
}

void OptionsDialog::ShowSwatch(QPushButton* swatch, int32_t colour) {
  swatch->setStyleSheet(
      QString("background-color: %1;").arg(ColorFromNumber(static_cast<uint32_t>(colour)).name()));
  swatch->setProperty("colour", colour);
}

void OptionsDialog::Show() {
  const FrmOption::Controls& controls = m_controller.controls();
  m_bitrate->setChecked(controls.chkBitRate != 0);
  m_type->setCurrentText(ToQt(controls.txtType));
  m_one->setChecked(controls.optOne);
  m_separate->setChecked(!controls.optOne && controls.optSeperate);
  m_path->setChecked(controls.chkPath != 0);
  m_size->setChecked(controls.chkSize != 0);
  m_header->setChecked(controls.chkHeader != 0);
  m_summary->setChecked(controls.chkSum != 0);
  m_disk_labels->setChecked(controls.chkDiskLabels != 0);
  m_html->setChecked(controls.chkHtml != 0);
  m_m3u->setChecked(controls.chkM3U != 0);
  ShowSwatch(m_table_colour, controls.TBcolor);
  ShowSwatch(m_page_colour, controls.PGcolor);
  m_table_width->setValue(ToQt(controls.txtTW).toInt());
  m_border_width->setValue(ToQt(controls.cmbBW).toInt());
  m_align->setCurrentText(ToQt(controls.cmbAlign));
  m_column_width->setValue(ToQt(controls.txtCol).toInt());
  m_id3v1_encoding->setCurrentText(ToQt(controls.cmbId3v1Encoding));
  m_leave_out->setPlainText(ToQt(controls.txtLeaveOut));
  m_hidden->setChecked(controls.chkHidden != 0);
  m_write_id3v2->setChecked(controls.chkWriteId3v2 != 0);
}

void OptionsDialog::Push() {
  FrmOption::Controls& controls = m_controller.controls();
  controls.chkBitRate = Checked(m_bitrate);
  controls.txtType = FromQt(m_type->currentText());
  controls.optOne = m_one->isChecked();
  controls.optSeperate = m_separate->isChecked();
  controls.chkPath = Checked(m_path);
  controls.chkSize = Checked(m_size);
  controls.chkHeader = Checked(m_header);
  controls.chkSum = Checked(m_summary);
  controls.chkDiskLabels = Checked(m_disk_labels);
  controls.chkHtml = Checked(m_html);
  controls.chkM3U = Checked(m_m3u);
  controls.TBcolor = m_table_colour->property("colour").toInt();
  controls.PGcolor = m_page_colour->property("colour").toInt();
  controls.txtTW = FromQt(m_table_width->text());
  controls.cmbBW = FromQt(m_border_width->text());
  controls.cmbAlign = FromQt(m_align->currentText());
  controls.txtCol = FromQt(m_column_width->text());
  controls.cmbId3v1Encoding = FromQt(m_id3v1_encoding->currentText());
  controls.txtLeaveOut = FromQt(m_leave_out->toPlainText());
  controls.chkHidden = Checked(m_hidden);
  controls.chkWriteId3v2 = Checked(m_write_id3v2);
}

}  // namespace tallymere
