#include "tools/bible-tool/tosis.h"

#include <QFile>
#include <QString>
#include <QStringList>
#include <algorithm>
#include <cctype>
#include <cstring>

#include "tools/bible-tool/tbookslots.h"
#include "tools/bible-tool/tcommands.h"
#include "tools/bible-tool/tmarkup.h"

namespace {

struct TVerseKey {
  std::string Book;
  int Chapter = 0, Verse = 0;
  bool Several = false;  // a list or range of verses
};

// "Gen.1.1", "Gen.1.1 Gen.1.2" or "Gen.1.1-Gen.1.3"; a part that is no number gives 0.
TVerseKey ParseOsisId(const std::string& value) {
  TVerseKey key;
  const QString id = QString::fromStdString(value).trimmed();
  const QString first = id.section(QLatin1Char(' '), 0, 0).section(QLatin1Char('-'), 0, 0);
  key.Several = first.size() < id.size();
  const QStringList parts = first.split(QLatin1Char('.'));
  if (parts.size() < 3) return key;
  // A work prefix ("KJV:Gen.1.1") names the work, not the book.
  key.Book = parts[parts.size() - 3].section(QLatin1Char(':'), -1).toStdString();
  bool ok = false;
  key.Chapter = parts[parts.size() - 2].toInt(&ok);
  if (!ok) key.Chapter = 0;
  key.Verse = parts[parts.size() - 1].toInt(&ok);
  if (!ok) key.Verse = 0;
  return key;
}

// Character data with its entities resolved.
std::string Resolved(std::string_view raw) {
  std::string out;
  for (const TMarkupToken& t : TokenizeMarkup(raw))
    if (t.Kind == TMarkupToken::Characters) out += t.Text;
  return out;
}

// The file is scanned tag by tag rather than by an XML parser: SWORD's own export writes a verse's
// stored text as it is, and a few stored verses close their tags out of order. Outside a verse
// container the tags must nest (a file cut short or garbled is refused); inside one, whatever the
// verse holds goes, as it was stored, to the converter the SWORD import uses, so both agree.
class TOsisReader {
 public:
  TOsisReader(int versionIndex, TImportLog& log) : Log(log) {
    Options.StrongsNumbers = versionIndex == 5;
  }

  TSourceBible Read(const std::string& path) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) throw TInputError("cannot read " + path);
    const QByteArray bytes = file.readAll();
    const std::string_view s(bytes.constData(), size_t(bytes.size()));
    Path = path;
    size_t i = 0;
    bool root = false;
    size_t lineCounted = 0;
    auto lineAt = [&](size_t at) {
      Line += int(std::count(s.begin() + long(lineCounted), s.begin() + long(at), '\n'));
      lineCounted = at;
      return Line;
    };
    while (i < s.size()) {
      const size_t lt = s.find('<', i);
      const size_t textEnd = lt == std::string_view::npos ? s.size() : lt;
      if (textEnd > i) {
        const std::string_view text = s.substr(i, textEnd - i);
        if (InVerse)
          Raw += text;
        else if (InTitle)
          Title += text;
        else if (root && Stack.empty() &&
                 text.find_first_not_of(" \t\r\n") != std::string_view::npos)
          Fail(lineAt(i), "text after the end of the document");
      }
      if (lt == std::string_view::npos) break;
      // Comments, processing instructions, CDATA and the document type: not elements.
      if (s.compare(lt, 4, "<!--") == 0 || s.compare(lt, 2, "<?") == 0 ||
          s.compare(lt, 9, "<![CDATA[") == 0) {
        const char* end = s.compare(lt, 4, "<!--") == 0 ? "-->"
                          : s.compare(lt, 2, "<?") == 0 ? "?>"
                                                        : "]]>";
        const size_t e = s.find(end, lt);
        if (e == std::string_view::npos)
          Fail(lineAt(lt), "the file ends inside a comment or instruction");
        if (InVerse && end[0] == ']') Raw += s.substr(lt, e + 3 - lt);
        i = e + std::strlen(end);
        continue;
      }
      const size_t gt = s.find('>', lt);
      if (gt == std::string_view::npos) Fail(lineAt(lt), "the file ends inside a tag");
      const std::string_view tag = s.substr(lt, gt + 1 - lt);
      i = gt + 1;
      if (tag.size() > 1 && tag[1] == '!') continue;  // <!DOCTYPE ...>
      const std::vector<TMarkupToken> tokens = TokenizeMarkup(tag);
      if (tokens.size() != 1 || tokens[0].Kind == TMarkupToken::Characters ||
          tokens[0].Name.empty())
        Fail(lineAt(lt), "a malformed tag");
      const TMarkupToken& t = tokens[0];
      const std::string name = LocalName(t.Name);
      if (!root) {
        if (name != "osis" && name != "osistext")
          throw TInputError(path + " is not an OSIS file (its root element is " + t.Name +
                            ", not osis)");
        root = true;
      }
      if (InContainer) {
        // Inside a verse container only its own end matters.
        if (t.Kind == TMarkupToken::End && name == "verse") {
          EndVerse();
          InContainer = false;
          Stack.pop_back();
        } else {
          Raw += tag;
        }
        continue;
      }
      if (t.Kind == TMarkupToken::End) {
        if (Stack.empty() || Stack.back() != name)
          Fail(lineAt(lt), "</" + t.Name + "> closes " +
                               (Stack.empty() ? "nothing" : "<" + Stack.back() + ">"));
        Stack.pop_back();
        if (name == "title" && InTitle) {
          InTitle = false;
          if (Collector.Result.Name.empty() && InWork)
            Collector.Result.Name =
                QString::fromStdString(Resolved(Title)).simplified().toStdString();
        } else if (name == "work") {
          InWork = false;
        }
        if (InVerse && name != "verse") Raw += tag;
        continue;
      }
      if (name == "verse") {
        if (!t.Attribute("eID").empty()) {
          EndVerse();
        } else if (!t.Attribute("osisID").empty()) {
          EndVerse();
          BeginVerse(t.Attribute("osisID"));
          if (!t.SelfClosing && t.Attribute("sID").empty()) InContainer = true;
        }
        if (!t.SelfClosing) Stack.push_back(name);
        continue;
      }
      if (name == "osistext" && WorkName.empty()) WorkName = t.Attribute("osisIDWork");
      if (name == "work" && !t.SelfClosing) InWork = true;
      if (name == "title" && !t.SelfClosing && !InVerse) {
        if (InWork) {
          InTitle = true;
          Title.clear();
        } else {
          ++Log.Omitted;  // a heading outside the verses
        }
      }
      if (!t.SelfClosing) Stack.push_back(name);
      if (InVerse) Raw += tag;
    }
    if (!root) throw TInputError(path + " is not an OSIS file (no osis element)");
    if (!Stack.empty())
      throw TInputError(path + ": the file ends before the end of its <" + Stack.back() +
                        "> (cut short?)");
    EndVerse();
    TSourceBible bible = Collector.Finish();
    if (bible.Name.empty()) bible.Name = WorkName;
    bible.RangesSplit = RangesSplit;
    if (bible.Books.empty())
      throw TInputError(path + " holds no verse of a book with a place among the 78 book slots");
    return bible;
  }

 private:
  [[noreturn]] void Fail(int line, const std::string& what) const {
    throw TInputError(Path + ": line " + std::to_string(line) + ": " + what);
  }

  // "osis:verse" and "verse" alike.
  static std::string LocalName(const std::string& name) {
    const size_t colon = name.find(':');
    std::string local = colon == std::string::npos ? name : name.substr(colon + 1);
    for (char& c : local) c = char(std::tolower((unsigned char)c));
    return local;
  }

  void BeginVerse(const std::string& osisId) {
    Key = ParseOsisId(osisId);
    InVerse = true;
    Raw.clear();
  }

  void EndVerse() {
    if (!InVerse) return;
    InVerse = false;
    const TConvertedVerse v = ConvertVerseMarkup(Raw, TSourceMarkup::Osis, Options);
    if (Key.Several) ++RangesSplit;
    Collector.Add(BookSlotOfOsis(Key.Book), Key.Book, Key.Chapter, Key.Verse, v.Text,
                  v.ParagraphStart);
    Raw.clear();
  }

  TImportLog& Log;
  TMarkupOptions Options;
  TBookCollector Collector;
  std::string Path;
  int Line = 1;
  std::vector<std::string> Stack;  // the open elements, lower-cased local names
  TVerseKey Key;
  bool InVerse = false, InContainer = false, InWork = false, InTitle = false;
  std::string Raw, Title, WorkName;
  int64_t RangesSplit = 0;
};

}  // namespace

TSourceBible ReadOsis(const std::string& path, int versionIndex, TImportLog& log) {
  return TOsisReader(versionIndex, log).Read(path);
}
