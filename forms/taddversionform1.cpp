#include "forms/taddversionform1.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>
#include <filesystem>

#include "core/datapaths.h"
#include "core/tcustominifile.h"
#include "platform/datapaths.h"
#include "platform/windowframe.h"
#include "platform/winhelp.h"
#include "settings/tmainsettings.h"

namespace {

QString Utf8(const std::string& s) { return QString::fromUtf8(s.data(), qsizetype(s.size())); }

QString SizeText(long long bytes) {
  if (bytes <= 0) return {};
  if (bytes < 1024 * 1024) return QStringLiteral("%1 KB").arg((bytes + 1023) / 1024);
  return QStringLiteral("%1 MB").arg(double(bytes) / (1024 * 1024), 0, 'f', 1);
}

// Runs a quick importer command that reads or writes only local files; its standard output.
bool RunQuick(const QStringList& arguments, QByteArray& out, QString& error) {
  QProcess p;
  p.start(TAddVersionForm1::ImporterPath(), arguments);
  if (!p.waitForFinished(20000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
    p.kill();
    error = QString::fromUtf8(p.readAllStandardError()).trimmed();
    return false;
  }
  out = p.readAllStandardOutput();
  return true;
}

}  // namespace

TAddVersionForm1::TAddVersionForm1(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Добави превод"));
  setObjectName(QStringLiteral("AddVersionForm1"));
  setModal(false);
  SetHelpContext(this, HelpContext);
  SetDialogFrame(this);

  PageControl1 = new QTabWidget(this);
  auto* library = new QWidget(PageControl1);
  SourceBox = new QComboBox(library);
  SourceBox->setToolTip(QStringLiteral("Източник на модули"));
  AddSourceButton = new QPushButton(QStringLiteral("Добави източник…"), library);
  RefreshButton = new QPushButton(QStringLiteral("Обнови списъка"), library);
  LanguageBox = new QComboBox(library);
  LanguageBox->setToolTip(QStringLiteral("Език"));
  ModuleList = new QTreeWidget(library);
  ModuleList->setToolTip(QStringLiteral("Модули"));
  ModuleList->setRootIsDecorated(false);
  ModuleList->setHeaderLabels({QStringLiteral("Модул"), QStringLiteral("Език"),
                               QStringLiteral("Описание"), QStringLiteral("Размер"),
                               QStringLiteral("Лиценз")});
  ModuleList->header()->setSectionResizeMode(2, QHeaderView::Stretch);
  ModuleList->header()->setStretchLastSection(false);
  auto* libraryLayout = new QGridLayout(library);
  auto* sourceLabel = new QLabel(QStringLiteral("&Източник:"), library);
  sourceLabel->setBuddy(SourceBox);
  auto* languageLabel = new QLabel(QStringLiteral("&Език:"), library);
  languageLabel->setBuddy(LanguageBox);
  libraryLayout->addWidget(sourceLabel, 0, 0);
  libraryLayout->addWidget(SourceBox, 0, 1);
  libraryLayout->addWidget(AddSourceButton, 0, 2);
  libraryLayout->addWidget(RefreshButton, 0, 3);
  libraryLayout->addWidget(languageLabel, 1, 0);
  libraryLayout->addWidget(LanguageBox, 1, 1);
  libraryLayout->addWidget(ModuleList, 2, 0, 1, 4);
  libraryLayout->setColumnStretch(1, 1);
  PageControl1->addTab(library, QStringLiteral("От библиотека с модули"));

  auto* file = new QWidget(PageControl1);
  FileEdit = new QLineEdit(file);
  FileEdit->setToolTip(QStringLiteral("Файл или папка"));
  FileButton = new QPushButton(QStringLiteral("Избери файл…"), file);
  FolderButton = new QPushButton(QStringLiteral("Избери папка…"), file);
  KindLabel = new QLabel(file);
  KindLabel->setWordWrap(true);
  auto* fileLayout = new QGridLayout(file);
  auto* fileLabel = new QLabel(QStringLiteral("&Файл:"), file);
  fileLabel->setBuddy(FileEdit);
  fileLayout->addWidget(fileLabel, 0, 0);
  fileLayout->addWidget(FileEdit, 0, 1);
  fileLayout->addWidget(FileButton, 0, 2);
  fileLayout->addWidget(FolderButton, 0, 3);
  fileLayout->addWidget(KindLabel, 1, 1, 1, 3);
  fileLayout->addWidget(
      new QLabel(QStringLiteral("SWORD модул (ZIP) или папка с SWORD библиотека, Zefania XML файл "
                                "или папка с Zefania файлове."),
                 file),
      2, 1, 1, 3);
  fileLayout->setRowStretch(3, 1);
  fileLayout->setColumnStretch(1, 1);
  PageControl1->addTab(file, QStringLiteral("От файл"));

  VersionList = new QListWidget(this);
  VersionList->setToolTip(QStringLiteral("Версия"));
  auto* versionLabel = new QLabel(QStringLiteral("&Версия:"), this);
  versionLabel->setBuddy(VersionList);
  ProgressBar1 = new QProgressBar(this);
  ProgressBar1->setToolTip(QStringLiteral("Напредък"));
  ProgressBar1->setRange(0, 1);
  ProgressBar1->setValue(0);
  StatusLabel = new QLineEdit(this);
  StatusLabel->setReadOnly(true);
  StatusLabel->setFrame(false);
  StatusLabel->setFocusPolicy(Qt::NoFocus);
  StatusLabel->setStyleSheet(QStringLiteral("QLineEdit { background: transparent; }"));
  StatusLabel->setAccessibleName(QStringLiteral("Състояние"));
  AddButton = new QPushButton(QStringLiteral("&Добави"), this);
  AddButton->setDefault(true);
  CancelButton = new QPushButton(QStringLiteral("&Прекъсни"), this);
  CancelButton->setEnabled(false);
  CloseButton = new QPushButton(QStringLiteral("&Затвори"), this);
  HelpButton = new QPushButton(QStringLiteral("Помощ"), this);

  auto* choice = new QHBoxLayout();
  choice->addWidget(PageControl1, 1);
  auto* versions = new QVBoxLayout();
  versions->addWidget(versionLabel);
  versions->addWidget(VersionList);
  choice->addLayout(versions, 0);
  auto* buttons = new QHBoxLayout();
  buttons->addStretch(1);
  for (QPushButton* b : {AddButton, CancelButton, CloseButton, HelpButton}) buttons->addWidget(b);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(choice, 1);
  layout->addWidget(ProgressBar1);
  layout->addWidget(StatusLabel);
  layout->addLayout(buttons);
  resize(1000, 520);

  FillModules();

  QObject* to = &FConnections;
  BIBLE_CONNECT(SourceBox, &QComboBox::activated, to, [this] { SourceChanged(); });
  BIBLE_CONNECT(LanguageBox, &QComboBox::activated, to, [this] { FillModules(); });
  BIBLE_CONNECT(ModuleList, &QTreeWidget::itemSelectionChanged, to, [this] { ModuleChosen(); });
  BIBLE_CONNECT(AddSourceButton, &QPushButton::clicked, to, [this] { AddSourceClick(); });
  BIBLE_CONNECT(RefreshButton, &QPushButton::clicked, to, [this] { LoadModules(true); });
  BIBLE_CONNECT(FileEdit, &QLineEdit::textChanged, to, [this] { FileChanged(); });
  BIBLE_CONNECT(FileButton, &QPushButton::clicked, to, [this] {
    const QString path = QFileDialog::getOpenFileName(
        this, QStringLiteral("Избери файл"), FileEdit->text(),
        QStringLiteral("Библии (*.zip *.xml *.SQLite3 *.bblx);;Всички файлове (*)"));
    if (!path.isEmpty()) FileEdit->setText(path);
  });
  BIBLE_CONNECT(FolderButton, &QPushButton::clicked, to, [this] {
    const QString path = QFileDialog::getExistingDirectory(this, QStringLiteral("Избери папка"),
                                                           FileEdit->text());
    if (!path.isEmpty()) FileEdit->setText(path);
  });
  BIBLE_CONNECT(PageControl1, &QTabWidget::currentChanged, to, [this](int page) {
    if (page == 0 && FModules.empty() && !Running()) LoadModules(false);
  });
  BIBLE_CONNECT(AddButton, &QPushButton::clicked, to, [this] { AddClick(); });
  BIBLE_CONNECT(CancelButton, &QPushButton::clicked, to, [this] { CancelClick(); });
  BIBLE_CONNECT(CloseButton, &QPushButton::clicked, to, [this] { reject(); });
  BIBLE_CONNECT(HelpButton, &QPushButton::clicked, to, [] { ShowHelpContext(HelpContext); });
}

TAddVersionForm1::~TAddVersionForm1() {
  if (FProcess) {
    FProcess->disconnect();
    FProcess->kill();
    FProcess->waitForFinished(5000);
  }
}

QString TAddVersionForm1::ImporterPath() {
  const QString dir = QCoreApplication::applicationDirPath() + QLatin1Char('/');
  for (const char* relative : {"", "../libexec/bible-tool/", "../lib/bible-tool/", "../tools/"}) {
    const QString path = QDir::cleanPath(dir + QLatin1String(relative) +
                                         QStringLiteral("bible-tool-import"));
    if (QFileInfo(path).isExecutable()) return path;
  }
  return {};
}

QString TAddVersionForm1::DataFolder() const {
  // Imports go where the user's own files go: beside the executable in a portable folder, the
  // user's data folder when installed.
  const std::string own = DataPlaces.UserData.empty() ? DataRoot : DataPlaces.UserData;
  return Utf8(own.empty() ? std::string("./") : own);
}

QString TAddVersionForm1::LibraryFolder() const { return DataFolder() + QStringLiteral("sword"); }

bool TAddVersionForm1::Running() const { return FTask != None; }

int TAddVersionForm1::ChosenVersion() const {
  const QListWidgetItem* item = VersionList->currentItem();
  return item && item->isSelected() ? item->data(Qt::UserRole).toInt() : -1;
}

void TAddVersionForm1::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  ListVersionsToChoose();
  if (FSources.empty()) ListSources();
  if (PageControl1->currentIndex() == 0 && FModules.empty() && !Running()) LoadModules(false);
}

void TAddVersionForm1::ChooseFile(const QString& path) {
  PageControl1->setCurrentIndex(1);
  FileEdit->setText(path);
  show();
  raise();
  activateWindow();
}

void TAddVersionForm1::ShowLibrary() {
  PageControl1->setCurrentIndex(0);
  show();
  raise();
  activateWindow();
}

void TAddVersionForm1::ListVersionsToChoose() {
  const int chosen = ChosenVersion();
  VersionList->clear();
  for (int i = 0; i < VersionTableSize; ++i) {
    std::error_code ec;
    FFilled[size_t(i)] = std::filesystem::exists(
        DataFile(VersionDiskFolder(i) + "BibleTitles.txt", TPathUse::Read), ec);
    auto* item = new QListWidgetItem(
        QStringLiteral("%1. %2 (%3)")
            .arg(i)
            .arg(Utf8(VersionCaption(i)),
                 FFilled[size_t(i)] ? QStringLiteral("попълнена") : QStringLiteral("празна")),
        VersionList);
    item->setData(Qt::UserRole, i);
  }
  if (chosen >= 0) VersionList->setCurrentRow(chosen);
  // Every caption whole: a version is chosen by the name of its translation.
  VersionList->setMinimumWidth(VersionList->sizeHintForColumn(0) + 2 * VersionList->frameWidth() + 8);
}

void TAddVersionForm1::ListSources(const QString& select) {
  QByteArray out;
  QString error;
  FSources.clear();
  SourceBox->clear();
  if (ImporterPath().isEmpty()) {
    StatusLabel->setText(QStringLiteral("Програмата за внасяне bible-tool-import не е инсталирана."));
    return;
  }
  if (!RunQuick({QStringLiteral("library-sources"), LibraryFolder()}, out, error)) {
    StatusLabel->setText(QStringLiteral("Библиотеката с модули не може да бъде прочетена: ") + error);
    return;
  }
  for (const QByteArray& line : out.split('\n')) {
    const QStringList fields = QString::fromUtf8(line).split(QLatin1Char('\t'));
    if (fields.size() != 3) continue;
    FSources.push_back({fields[0], fields[1], fields[2]});
    SourceBox->addItem(fields[0] + QStringLiteral(" — ") + fields[2]);
  }
  for (size_t k = 0; k < FSources.size(); ++k)
    if (FSources[k].Name == select) SourceBox->setCurrentIndex(int(k));
}

const TAddVersionForm1::TSource* TAddVersionForm1::CurrentSource() const {
  const int k = SourceBox->currentIndex();
  return k >= 0 && size_t(k) < FSources.size() ? &FSources[size_t(k)] : nullptr;
}

bool TAddVersionForm1::MayConnect(bool ask) {
  const TSource* source = CurrentSource();
  if (!source) return false;
  if (source->Type == QStringLiteral("DIR")) return true;
  int access = Settings ? Settings->InternetAccess : TMainSettings::InternetNotAsked;
  if (access == TMainSettings::InternetAllowed) return true;
  // Only a user's own click connects the first time: opening the dialog asks nothing.
  if (!ask) {
    StatusLabel->setText(access == TMainSettings::InternetRefused
                             ? QStringLiteral("Връзката с интернет не е разрешена. „Обнови "
                                              "списъка“ пита отново.")
                             : QStringLiteral("За списъка с модули програмата ще се свърже с "
                                              "интернет: натиснете „Обнови списъка“."));
    return false;
  }
  const auto answer = QMessageBox::question(
      this, windowTitle(),
      QStringLiteral("За да покаже и изтегли модулите на „%1“, програмата ще се свърже с "
                     "интернет (%2).\n\nДа се свързва ли програмата с интернет? Отговорът се "
                     "запомня в настройките.")
          .arg(source->Name, source->Location));
  access = answer == QMessageBox::Yes ? TMainSettings::InternetAllowed
                                      : TMainSettings::InternetRefused;
  if (Settings) {
    Settings->InternetAccess = access;
    if (IniFile) {
      try {
        Settings->SaveInternetAccess(*IniFile);
      } catch (const std::exception&) {
        // The answer holds for this run; the settings are written again at exit.
      }
    }
  }
  if (access != TMainSettings::InternetAllowed)
    StatusLabel->setText(QStringLiteral("Връзката с интернет не е разрешена."));
  return access == TMainSettings::InternetAllowed;
}

void TAddVersionForm1::SourceChanged() {
  FModules.clear();
  FillModules();
  // A source the user chose or added is read at once: that choice is the click that connects.
  LoadModules(true);
}

void TAddVersionForm1::LoadModules(bool ask) {
  if (Running() || !CurrentSource() || !MayConnect(ask)) return;
  const QString source = CurrentSource()->Name;
  // A refresh asked for fetches the list anew, and the list is read when it has finished;
  // otherwise the copy fetched before serves.
  FListAfter = ask && CurrentSource()->Type != QStringLiteral("DIR");
  if (FListAfter) {
    Start(Modules, {QStringLiteral("--progress-lines"), QStringLiteral("library-refresh"),
                    LibraryFolder(), source});
    return;
  }
  Start(Modules, {QStringLiteral("--progress-lines"), QStringLiteral("library-modules"),
                  LibraryFolder(), source});
}

void TAddVersionForm1::FillModules() {
  const QString language = LanguageBox->currentData().toString();
  // The filter: every language of the list, the usual ones first.
  std::vector<std::string> languages;
  for (const TModuleEntry& m : FModules)
    if (std::find(languages.begin(), languages.end(), m.Language) == languages.end())
      languages.push_back(m.Language);
  std::stable_sort(languages.begin(), languages.end(), [](const std::string& a, const std::string& b) {
    const int ra = LanguageRank(a), rb = LanguageRank(b);
    return ra != rb ? ra < rb : a < b;
  });
  LanguageBox->clear();
  LanguageBox->addItem(QStringLiteral("Всички езици"), QString());
  for (const std::string& l : languages)
    LanguageBox->addItem(Utf8(LanguageCaption(l)) +
                             (LanguageCaption(l) == l ? QString() : QStringLiteral(" (%1)").arg(Utf8(l))),
                         Utf8(l));
  const int keep = LanguageBox->findData(language);
  LanguageBox->setCurrentIndex(keep < 0 ? 0 : keep);
  const QString shown = LanguageBox->currentData().toString();

  ModuleList->clear();
  std::vector<const TModuleEntry*> rows;
  for (const TModuleEntry& m : FModules)
    if (shown.isEmpty() || Utf8(m.Language) == shown) rows.push_back(&m);
  std::stable_sort(rows.begin(), rows.end(), [](const TModuleEntry* a, const TModuleEntry* b) {
    const int ra = LanguageRank(a->Language), rb = LanguageRank(b->Language);
    return ra != rb ? ra < rb : a->Name < b->Name;
  });
  for (const TModuleEntry* m : rows) {
    auto* item = new QTreeWidgetItem(ModuleList, {Utf8(m->Name), Utf8(LanguageCaption(m->Language)),
                                                  Utf8(m->Description), SizeText(m->Size),
                                                  Utf8(m->Licence)});
    item->setData(0, Qt::UserRole, Utf8(m->Language));
  }
  for (int c : {0, 1, 3, 4}) ModuleList->resizeColumnToContents(c);
}

void TAddVersionForm1::ModuleChosen() {
  const QTreeWidgetItem* item = ModuleList->currentItem();
  if (!item) return;
  const int v = ProposeVersion(item->data(0, Qt::UserRole).toString().toStdString(), FFilled);
  VersionList->setCurrentRow(v);
  StatusLabel->setText(QStringLiteral("Предлагана версия: %1. %2").arg(v).arg(Utf8(VersionCaption(v))));
}

void TAddVersionForm1::FileChanged() {
  const TSourceKind kind = DetectSourceKind(QFile::encodeName(FileEdit->text()).toStdString());
  KindLabel->setText(kind == TSourceKind::Unknown
                         ? (FileEdit->text().isEmpty()
                                ? QString()
                                : QStringLiteral("Непознат вид файл: не е SWORD модул, SWORD "
                                                 "библиотека или Zefania XML."))
                         : QStringLiteral("Вид: ") + Utf8(SourceKindCaption(kind)));
  if (kind != TSourceKind::Unknown && ChosenVersion() < 0) {
    ListVersionsToChoose();
    VersionList->setCurrentRow(ProposeVersion("", FFilled));
  }
}

void TAddVersionForm1::AddSourceClick() {
  bool ok = false;
  const QString location =
      QInputDialog::getText(this, QStringLiteral("Добави източник"),
                            QStringLiteral("Адрес (http://, https://, ftp://) или папка:"),
                            QLineEdit::Normal, QString(), &ok)
          .trimmed();
  if (!ok || location.isEmpty()) return;
  const QUrl url(location);
  QString name = location.contains(QStringLiteral("://")) ? url.host() : QFileInfo(location).fileName();
  name.remove(QLatin1Char('|'));
  if (name.isEmpty() || name.startsWith(QLatin1Char('.'))) name = QStringLiteral("Източник");
  QByteArray out;
  QString error;
  if (!RunQuick({QStringLiteral("library-add"), LibraryFolder(), name, location}, out, error)) {
    QMessageBox::warning(this, windowTitle(),
                         QStringLiteral("Източникът не може да бъде добавен: ") + error);
    return;
  }
  ListSources(name);
  SourceChanged();
}

void TAddVersionForm1::AddClick() {
  if (Running()) return;
  const int v = ChosenVersion();
  if (v < 0) {
    QMessageBox::information(this, windowTitle(), QStringLiteral("Изберете версия."));
    return;
  }
  QStringList arguments{QStringLiteral("--progress-lines")};
  if (PageControl1->currentIndex() == 0) {
    const QTreeWidgetItem* item = ModuleList->currentItem();
    if (!item || !CurrentSource()) {
      QMessageBox::information(this, windowTitle(), QStringLiteral("Изберете модул."));
      return;
    }
    if (!MayConnect(true)) return;
    arguments << QStringLiteral("library-install") << LibraryFolder() << CurrentSource()->Name
              << item->text(0) << QString::number(v) << DataFolder();
  } else {
    const std::string path = QFile::encodeName(FileEdit->text()).toStdString();
    const TSourceKind kind = DetectSourceKind(path);
    if (kind == TSourceKind::Unknown) {
      QMessageBox::warning(this, windowTitle(),
                           QStringLiteral("Файлът не е SWORD модул, SWORD библиотека или Zefania XML."));
      return;
    }
    for (const std::string& a : ImportArguments(kind, path, v, QFile::encodeName(DataFolder()).toStdString()))
      arguments << QFile::decodeName(QByteArray::fromStdString(a));
  }
  ListVersionsToChoose();
  if (FFilled[size_t(v)] &&
      QMessageBox::question(this, windowTitle(),
                            QStringLiteral("Версия %1 („%2“) вече съдържа превод. Да бъде ли "
                                           "заменена с новия?")
                                .arg(v)
                                .arg(Utf8(VersionCaption(v)))) != QMessageBox::Yes)
    return;
  FTarget = v;
  Start(Import, arguments);
}

void TAddVersionForm1::Start(TTask task, const QStringList& arguments) {
  const QString importer = ImporterPath();
  if (importer.isEmpty()) {
    StatusLabel->setText(QStringLiteral("Програмата за внасяне bible-tool-import не е инсталирана."));
    return;
  }
  if (!FProcess) {
    FProcess = new QProcess(this);
    BIBLE_CONNECT(FProcess, &QProcess::readyReadStandardOutput, &FConnections, [this] { ReadOutput(); });
    BIBLE_CONNECT(FProcess, &QProcess::readyReadStandardError, &FConnections,
                  [this] { FErrors += FProcess->readAllStandardError(); });
    BIBLE_CONNECT(FProcess, &QProcess::finished, &FConnections,
                  [this](int code, QProcess::ExitStatus status) { Finished(code, status); });
    BIBLE_CONNECT(FProcess, &QProcess::errorOccurred, &FConnections, [this](QProcess::ProcessError e) {
      if (e == QProcess::FailedToStart) Finished(-1, QProcess::CrashExit);
    });
  }
  FTask = task;
  FCancelled = false;
  FFailure.clear();
  FErrors.clear();
  FPending.clear();
  if (task == Modules) FModules.clear();
  ProgressBar1->setRange(0, 0);
  StatusLabel->setText(task == Modules ? QStringLiteral("Зареждане на списъка с модули…")
                                       : QStringLiteral("Внасяне…"));
  SetRunning(true);
  FProcess->start(importer, arguments);
  FPid = FProcess->processId();
}

void TAddVersionForm1::SetRunning(bool running) {
  for (QWidget* w : {static_cast<QWidget*>(AddButton), static_cast<QWidget*>(SourceBox),
                     static_cast<QWidget*>(AddSourceButton), static_cast<QWidget*>(RefreshButton),
                     static_cast<QWidget*>(FileEdit), static_cast<QWidget*>(FileButton),
                     static_cast<QWidget*>(FolderButton), static_cast<QWidget*>(VersionList)})
    w->setEnabled(!running);
  CancelButton->setEnabled(running);
  if (running) CancelButton->setFocus();
}

void TAddVersionForm1::ReadOutput() {
  FPending += FProcess->readAllStandardOutput();
  int end;
  while ((end = FPending.indexOf('\n')) >= 0) {
    const std::string line = FPending.left(end).toStdString();
    FPending.remove(0, end + 1);
    const TImportEvent e = ParseImportEvent(line);
    if (e.Kind == TImportEvent::Failed) {
      FFailure = Utf8(e.Item);
    } else if (e.Kind == TImportEvent::Download) {
      // Bytes in kilobytes, so that a large module fits the bar's int.
      ProgressBar1->setRange(0, int(std::max<long long>(1, e.Total / 1024)));
      ProgressBar1->setValue(int(e.Done / 1024));
      QString file = Utf8(e.Item);
      file = file.mid(file.lastIndexOf(QLatin1Char(' ')) + 1);
      StatusLabel->setText(QStringLiteral("Изтегляне: %1").arg(file));
    } else if (e.Kind == TImportEvent::Progress) {
      ProgressBar1->setRange(0, int(std::min<long long>(e.Total, 1 << 30)));
      ProgressBar1->setValue(int(e.Done));
      StatusLabel->setText(QStringLiteral("Внасяне: %1 (%2 от %3)").arg(Utf8(e.Item)).arg(e.Done).arg(e.Total));
    } else if (FTask == Modules) {
      TModuleEntry m;
      if (ParseModuleEntry(line, m)) FModules.push_back(std::move(m));
    }
  }
}

void TAddVersionForm1::Finished(int exitCode, QProcess::ExitStatus status) {
  if (FTask == None) return;
  ReadOutput();
  const TTask task = FTask;
  FTask = None;
  if (status != QProcess::NormalExit || exitCode != 0) FListAfter = false;
  SetRunning(false);
  ProgressBar1->setRange(0, 1);
  ProgressBar1->setValue(status == QProcess::NormalExit && exitCode == 0 ? 1 : 0);
  const QString version = QStringLiteral("%1 („%2“)").arg(FTarget).arg(Utf8(VersionCaption(FTarget)));
  QString detail = QString::fromUtf8(FErrors).trimmed();
  detail = detail.section(QLatin1Char('\n'), -1).remove(QStringLiteral("bible-tool: "));
  if (FCancelled) {
    // What the killed importer was writing is removed; the version it would have replaced stays.
    if (task == Import && FPid > 0) {
      const QString folder = QString::fromStdString(VersionDiskFolder(FTarget)).chopped(1);
      QDir(DataFolder() + QStringLiteral(".%1.import-%2").arg(folder).arg(FPid)).removeRecursively();
    }
    StatusLabel->setText(task == Import
                             ? QStringLiteral("Внасянето е прекъснато. Версия %1 е както преди.").arg(version)
                             : QStringLiteral("Зареждането е прекъснато."));
    return;
  }
  if (status == QProcess::NormalExit && exitCode == 0) {
    if (task == Modules) {
      if (FListAfter && CurrentSource()) {
        FListAfter = false;
        Start(Modules, {QStringLiteral("--progress-lines"), QStringLiteral("library-modules"),
                        LibraryFolder(), CurrentSource()->Name});
        return;
      }
      FillModules();
      StatusLabel->setText(QStringLiteral("Модули: %1").arg(FModules.size()));
      return;
    }
    ListVersionsToChoose();
    StatusLabel->setText(QStringLiteral("Преводът е добавен във версия %1.").arg(version));
    Q_EMIT VersionImported(FTarget);
    return;
  }
  QString message;
  if (status != QProcess::NormalExit)
    message = task == Import
                  ? QStringLiteral("Модулът или файлът е повреден: програмата за внасяне спря аварийно.")
                  : QStringLiteral("Списъкът с модули е повреден: програмата за внасяне спря аварийно.");
  else if (FFailure == QStringLiteral("download"))
    message = QStringLiteral("Изтеглянето не успя: няма връзка със сървъра или той прекъсна връзката.");
  else if (FFailure == QStringLiteral("damaged"))
    message = QStringLiteral("Модулът или файлът е повреден или не съдържа Библия.");
  else if (FFailure == QStringLiteral("write"))
    message = QStringLiteral("Папката с данни не може да бъде записана: няма права за запис или "
                             "място на диска.");
  else
    message = QStringLiteral("Действието не успя.");
  if (task == Import) message += QStringLiteral(" Версия %1 е както преди.").arg(version);
  StatusLabel->setText(message);
  QMessageBox::warning(this, windowTitle(),
                       detail.isEmpty() ? message : message + QStringLiteral("\n\n") + detail);
}

void TAddVersionForm1::CancelClick() {
  if (!FProcess || FTask == None) return;
  FCancelled = true;
  FProcess->kill();
}

void TAddVersionForm1::reject() {
  if (Running()) CancelClick();
  QDialog::reject();
}
