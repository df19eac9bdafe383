#include "tools/bible-tool/tzefania.h"

#include <QFile>
#include <QXmlStreamReader>
#include <algorithm>
#include <filesystem>
#include <map>

#include "tools/bible-tool/tcommands.h"
#include "tools/bible-tool/tmarkup.h"

namespace fs = std::filesystem;

namespace {

// Leading decimal number of an attribute ("12", "3-4" gives 3); -1 when there is none.
int Number(const QXmlStreamAttributes& attributes, const char* name) {
  const QString value = attributes.value(QLatin1String(name)).toString().trimmed();
  int n = 0, digits = 0;
  for (QChar c : value) {
    if (!c.isDigit() || digits >= 6) break;
    n = n * 10 + c.digitValue();
    ++digits;
  }
  return digits ? n : -1;
}

struct TBookBuild {
  int Number = 0;
  TSourceBook Book;
  std::map<int, std::map<int, std::string>> Verses;  // chapter -> verse -> text
};

class TZefaniaReader {
 public:
  TZefaniaReader(int versionIndex, TImportLog& log, TZefaniaResult& result)
      : VersionIndex(versionIndex), Log(log), Result(result) {}

  void ReadFile(const std::string& path, bool wholeBible) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) throw TInputError("cannot read " + path);
    QXmlStreamReader xml(&file);
    bool root = false;
    while (!xml.atEnd()) {
      xml.readNext();
      if (xml.isStartElement()) {
        if (!root) {
          if (xml.name() != QLatin1String("XMLBIBLE"))
            throw TInputError(path + " is not a Zefania Bible (its root element is " +
                              xml.name().toString().toStdString() + ", not XMLBIBLE)");
          root = true;
          if (Result.Name.empty())
            Result.Name = xml.attributes()
                              .value(QLatin1String("biblename"))
                              .toString()
                              .trimmed()
                              .toStdString();
        } else if (xml.name() == QLatin1String("INFORMATION")) {
          ReadInformation(xml);
        } else if (xml.name() == QLatin1String("BIBLEBOOK")) {
          ReadBook(xml);
        } else {
          xml.skipCurrentElement();
        }
      }
    }
    if (xml.hasError())
      throw TInputError(path + ": line " + std::to_string(xml.lineNumber()) + ", column " +
                        std::to_string(xml.columnNumber()) + ": " +
                        xml.errorString().toStdString());
    if (!root && wholeBible)
      throw TInputError(path + " is not a Zefania Bible (no XMLBIBLE element)");
  }

  void Finish() {
    // The books in their numbers' order, whatever the order of the files of a split Bible.
    std::stable_sort(Books.begin(), Books.end(),
                     [](const TBookBuild& a, const TBookBuild& b) { return a.Number < b.Number; });
    for (TBookBuild& b : Books) {
      int last = b.Verses.empty() ? 0 : b.Verses.rbegin()->first;
      for (int c = 1; c <= last; ++c) {
        std::vector<std::string> verses;
        auto it = b.Verses.find(c);
        int count = it == b.Verses.end() || it->second.empty() ? 1 : it->second.rbegin()->first;
        for (int v = 1; v <= count; ++v) {
          std::string text;
          if (it != b.Verses.end()) {
            auto vt = it->second.find(v);
            if (vt != it->second.end()) text = vt->second;
          }
          verses.push_back(std::move(text));
        }
        b.Book.Chapters.push_back(std::move(verses));
      }
      if (!b.Book.Chapters.empty()) Result.Books.push_back(std::move(b.Book));
    }
  }

 private:
  // The title among the Dublin Core fields names the translation better than the root's biblename.
  void ReadInformation(QXmlStreamReader& xml) {
    while (xml.readNextStartElement()) {
      if (xml.name() == QLatin1String("title")) {
        const std::string title =
            xml.readElementText(QXmlStreamReader::IncludeChildElements).simplified().toStdString();
        if (!title.empty() && !HaveTitle) {
          Result.Name = title;
          HaveTitle = true;
        }
      } else {
        xml.skipCurrentElement();
      }
    }
  }

  void ReadBook(QXmlStreamReader& xml) {
    const QXmlStreamAttributes a = xml.attributes();
    const int number = Number(a, "bnumber");
    const std::string name = a.value(QLatin1String("bname")).toString().trimmed().toStdString();
    const int slot = SlotOfProtestantNumber(number);
    if (slot == 0) {
      Result.Skipped.push_back(std::to_string(number) + (name.empty() ? "" : " " + name));
      xml.skipCurrentElement();
      return;
    }
    // A book split over several files, or given twice, is one book.
    auto it = std::find_if(Books.begin(), Books.end(),
                           [slot](const TBookBuild& b) { return b.Book.Slot == slot; });
    if (it == Books.end()) {
      Books.push_back({});
      it = Books.end() - 1;
      it->Number = number;
      it->Book.Slot = slot;
      it->Book.Name = name;
      it->Book.ShortName = a.value(QLatin1String("bsname")).toString().trimmed().toStdString();
    }
    TBookBuild& book = *it;
    Hebrew = slot <= 50;
    while (xml.readNextStartElement()) {
      if (xml.name() != QLatin1String("CHAPTER")) {
        if (xml.name() == QLatin1String("CAPTION")) ++Log.Omitted;
        xml.skipCurrentElement();
        continue;
      }
      const int chapter = Number(xml.attributes(), "cnumber");
      while (xml.readNextStartElement()) {
        if (xml.name() != QLatin1String("VERS")) {
          ++Log.Omitted;  // headings, prologues, remarks
          xml.skipCurrentElement();
          continue;
        }
        const int verse = Number(xml.attributes(), "vnumber");
        std::string text = ReadVerse(xml);
        if (chapter < 1 || chapter > 10000 || verse < 1 || verse > 255) {
          ++Result.VersesOutOfRange;
          continue;
        }
        std::string& stored = book.Verses[chapter][verse];
        stored += (stored.empty() ? "" : " ") + text;
      }
    }
  }

  // The verse's content up to its end tag, in the view's markup.
  std::string ReadVerse(QXmlStreamReader& xml) {
    std::string out;
    std::vector<std::string> closers;  // what each open element writes at its end
    while (!xml.atEnd()) {
      xml.readNext();
      if (xml.isCharacters()) {
        out += MarkupSafeText(xml.text().toString().toStdString());
      } else if (xml.isStartElement()) {
        const QStringView name = xml.name();
        const QXmlStreamAttributes a = xml.attributes();
        if (name == QLatin1String("NOTE")) {
          out += " {";
          closers.push_back("}");
        } else if (name == QLatin1String("BR")) {
          out += "~";
          closers.push_back("");
        } else if (name == QLatin1String("STYLE")) {
          const QString fs = a.value(QLatin1String("fs")).toString();
          const QString css = a.value(QLatin1String("css")).toString();
          const bool italic = fs.compare(QLatin1String("italic"), Qt::CaseInsensitive) == 0 ||
                              css.contains(QLatin1String("italic"), Qt::CaseInsensitive);
          out += italic ? "|" : "";
          closers.push_back(italic ? "|" : "");
        } else if (name == QLatin1String("gr")) {
          std::string number;
          if (VersionIndex == 5) {
            const int n = Number(a, "str");
            if (n > 0) number = std::string(" ") + (Hebrew ? "H" : "G") + std::to_string(n);
          }
          closers.push_back(number);
        } else if (name == QLatin1String("XREF") || name == QLatin1String("CAPTION") ||
                   name == QLatin1String("PROLOG") || name == QLatin1String("REMARK")) {
          ++Log.Omitted;
          xml.skipCurrentElement();
        } else {
          closers.push_back("");  // DIV, sup, gram and others: their text
        }
      } else if (xml.isEndElement()) {
        if (closers.empty()) break;  // the verse's own end tag
        out += closers.back();
        closers.pop_back();
      }
    }
    return out;
  }

  int VersionIndex;
  TImportLog& Log;
  TZefaniaResult& Result;
  std::vector<TBookBuild> Books;
  bool Hebrew = false;
  bool HaveTitle = false;
};

}  // namespace

TZefaniaResult ReadZefania(const std::string& path, int versionIndex, TImportLog& log) {
  TZefaniaResult result;
  TZefaniaReader reader(versionIndex, log, result);
  std::error_code ec;
  if (fs::is_directory(path, ec)) {
    std::vector<std::string> files;
    for (const auto& e : fs::directory_iterator(path, ec))
      if (e.path().extension() == ".xml" && e.is_regular_file(ec))
        files.push_back(e.path().string());
    std::sort(files.begin(), files.end());
    if (files.empty()) throw TInputError(path + " holds no .xml file");
    for (const std::string& f : files) reader.ReadFile(f, false);
  } else {
    reader.ReadFile(path, true);
  }
  reader.Finish();
  if (result.Books.empty())
    throw TInputError(path + " holds no book with a place among the 78 book slots");
  return result;
}
