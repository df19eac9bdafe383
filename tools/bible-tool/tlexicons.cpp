#include "tools/bible-tool/tlexicons.h"

#include <zlib.h>

#include <QFile>
#include <QXmlStreamReader>
#include <fstream>
#include <stdexcept>

#include "tools/bible-tool/tcodepage.h"

namespace {

TCharSet LatinLetters() {
  TCharSet letters;
  for (int c = 'A'; c <= 'Z'; ++c) letters.set(size_t(c));
  for (int c = 'a'; c <= 'z'; ++c) letters.set(size_t(c));
  return letters;
}

// The view's markup characters stand for line breaks and italics; in source text they are
// ordinary characters and are replaced by look-alikes.
std::string PlainForView(std::string text) {
  for (char& c : text) {
    if (c == '~') c = '-';
    if (c == '|') c = '/';
  }
  return text;
}

// Drops the combining accents (U+0300..U+036F) that mark stress in the Bulgarian entries; the
// code page has no place for them.
std::string WithoutAccents(const std::string& utf8) {
  std::string out;
  for (size_t i = 0; i < utf8.size(); ++i) {
    const unsigned char c = (unsigned char)utf8[i];
    if (i + 1 < utf8.size() && (c == 0xCC || (c == 0xCD && (unsigned char)utf8[i + 1] < 0xB0))) {
      ++i;
      continue;
    }
    out += utf8[i];
  }
  return out;
}

// Collapses runs of blanks and line breaks; a line break becomes the view's "~".
std::string Tidy(const std::string& text) {
  std::string out;
  bool blank = false, newline = false;
  for (char c : text) {
    if (c == '\n') {
      newline = true;
    } else if (c == ' ' || c == '\t' || c == '\r') {
      blank = true;
    } else {
      if (newline && !out.empty()) out += '~';
      else if (blank && !out.empty()) out += ' ';
      blank = newline = false;
      out += c;
    }
  }
  return out;
}

std::string Headword(TCodePage& latin, const QString& lemma) {
  return LexiconHeadword(latin, lemma.toStdString());
}

void OpenXml(QFile& f, const std::string& file) {
  f.setFileName(QString::fromStdString(file));
  if (!f.open(QIODevice::ReadOnly)) throw std::runtime_error("cannot open " + file);
}

void AddArticle(TDictionaryData& data, TCodePage& cp, const std::string& head,
                const std::string& utf8Body) {
  if (head.empty()) return;
  TDictionaryArticle article;
  article.Text = head + " " + cp.Encode(Tidy(PlainForView(WithoutAccents(utf8Body))));
  if (article.Text.size() > 60000) article.Text.resize(60000);
  article.HeadwordOffsets = {0};
  data.Articles.push_back(std::move(article));
}

}  // namespace


std::string LexiconHeadword(TCodePage& latin, const std::string& lemma) {
  const std::string bytes = latin.Encode(lemma);
  std::string word;
  for (char c : bytes) {
    if (c >= 'A' && c <= 'Z') word += char(c - 'A' + 'a');
    else if (c >= 'a' && c <= 'z') word += c;
  }
  return word;
}

TDictionaryData ReadAbbottSmith(const std::string& xmlFile, TImportLog& log) {
  QFile file;
  OpenXml(file, xmlFile);
  QXmlStreamReader xml(&file);
  TCodePage cp("windows-1251");
  TDictionaryData data;
  data.Title = cp.Encode("Abbott-Smith: Greek lexicon of the New Testament");
  data.Letters = LatinLetters();
  int depth = 0;  // inside an entry: its element depth
  std::string head, body;
  while (!xml.atEnd()) {
    xml.readNext();
    if (xml.isStartElement()) {
      if (depth == 0 && xml.name() == QStringLiteral("entry")) {
        depth = 1;
        const QString lemma = xml.attributes().value(QStringLiteral("lemma")).toString();
        const QString strong = xml.attributes().value(QStringLiteral("strong")).toString();
        head = Headword(cp, lemma);
        body = lemma.toStdString();
        if (!strong.isEmpty()) body += " (" + strong.toStdString() + ")";
        body += "\n";
      } else if (depth > 0) {
        ++depth;
        if (xml.name() == QStringLiteral("sense") || xml.name() == QStringLiteral("etym"))
          body += "\n";
      }
    } else if (xml.isEndElement() && depth > 0) {
      if (--depth == 0) {
        AddArticle(data, cp, head, body);
        if (log.Progress && data.Articles.size() % 500 == 0)
          log.Progress(head, int(data.Articles.size()), 0);
      }
    } else if (xml.isCharacters() && depth > 0) {
      body += xml.text().toString().toStdString();
    }
  }
  if (xml.hasError())
    throw std::runtime_error(xmlFile + ": " + xml.errorString().toStdString());
  log.LettersFitted += cp.Fitted.LettersFitted;
  log.MarksDropped += cp.Fitted.MarksDropped;
  log.Transliterated += cp.Transliterated;
  log.Unrepresentable += cp.Unrepresentable;
  return data;
}

TDictionaryData ReadBrownDriverBriggs(const std::string& xmlFile, TImportLog& log) {
  QFile file;
  OpenXml(file, xmlFile);
  QXmlStreamReader xml(&file);
  TCodePage cp("windows-1251");
  TDictionaryData data;
  data.Title = cp.Encode("Brown-Driver-Briggs: Hebrew and English lexicon");
  data.Letters = LatinLetters();
  int depth = 0;
  std::string head, body;
  bool firstWord = false;
  while (!xml.atEnd()) {
    xml.readNext();
    if (xml.isStartElement()) {
      if (depth == 0 && xml.name() == QStringLiteral("entry")) {
        depth = 1;
        head.clear();
        body.clear();
        firstWord = true;
      } else if (depth > 0) {
        ++depth;
        if (xml.name() == QStringLiteral("status")) {
          xml.skipCurrentElement();
          --depth;
        } else if (xml.name() == QStringLiteral("sense")) {
          body += "\n";
        } else if (xml.name() == QStringLiteral("w") && firstWord) {
          // The entry's first Hebrew word is its lemma.
          const QString lemma = xml.readElementText(QXmlStreamReader::IncludeChildElements);
          --depth;
          firstWord = false;
          head = Headword(cp, lemma);
          body += lemma.toStdString() + " (" + head + ")";
        }
      }
    } else if (xml.isEndElement() && depth > 0) {
      if (--depth == 0) {
        AddArticle(data, cp, head, body);
        if (log.Progress && data.Articles.size() % 500 == 0)
          log.Progress(head, int(data.Articles.size()), 0);
      }
    } else if (xml.isCharacters() && depth > 0) {
      body += xml.text().toString().toStdString();
    }
  }
  if (xml.hasError())
    throw std::runtime_error(xmlFile + ": " + xml.errorString().toStdString());
  log.LettersFitted += cp.Fitted.LettersFitted;
  log.MarksDropped += cp.Fitted.MarksDropped;
  log.Transliterated += cp.Transliterated;
  log.Unrepresentable += cp.Unrepresentable;
  return data;
}

long long DictdNumber(const std::string& digits) {
  static const std::string alphabet =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  if (digits.empty()) return -1;
  long long value = 0;
  for (char c : digits) {
    const size_t d = alphabet.find(c);
    if (d == std::string::npos) return -1;
    value = value * 64 + static_cast<long long>(d);
    if (value > 0x7FFFFFFF) return -1;
  }
  return value;
}

TDictionaryData ReadFreeDict(const std::string& indexFile, const std::string& dataFile,
                             const std::string& title, TImportLog& log) {
  // The data file whole: gzip and dictzip read alike through zlib, a plain file as it is.
  gzFile gz = gzopen(dataFile.c_str(), "rb");
  if (!gz) throw std::runtime_error("cannot open " + dataFile);
  std::string text;
  char buffer[65536];
  int n = 0;
  while ((n = gzread(gz, buffer, sizeof buffer)) > 0) text.append(buffer, size_t(n));
  const bool failed = n < 0;
  gzclose(gz);
  if (failed) throw std::runtime_error(dataFile + ": damaged compressed data");
  std::ifstream index(indexFile, std::ios::binary);
  if (!index) throw std::runtime_error("cannot open " + indexFile);
  TCodePage cp("windows-1251");
  TDictionaryData data;
  data.Title = cp.Encode(title);
  data.Letters = DictionaryLetters(TDictionaryKind::Plain);
  std::string line;
  int skipped = 0;
  while (std::getline(index, line)) {
    const size_t t1 = line.find('\t');
    const size_t t2 = t1 == std::string::npos ? t1 : line.find('\t', t1 + 1);
    if (t2 == std::string::npos) continue;
    const std::string head = cp.Encode(line.substr(0, t1));
    const long long offset = DictdNumber(line.substr(t1 + 1, t2 - t1 - 1));
    const long long length = DictdNumber(line.substr(t2 + 1));
    if (head.rfind("00-database", 0) == 0 || head.rfind("00database", 0) == 0) continue;
    bool word = !head.empty();
    for (char c : head) word = word && data.Letters.test((unsigned char)c);
    if (!word || offset < 0 || length <= 0 || size_t(offset + length) > text.size()) {
      ++skipped;
      continue;
    }
    // The entry repeats its headword on its first line; the translations follow.
    std::string entry = text.substr(size_t(offset), size_t(length));
    const size_t eol = entry.find('\n');
    std::string rest = eol == std::string::npos ? std::string() : entry.substr(eol + 1);
    TDictionaryArticle article;
    article.Text = head + " " + cp.Encode(Tidy(PlainForView(WithoutAccents(rest))));
    article.HeadwordOffsets = {0};
    data.Articles.push_back(std::move(article));
    if (log.Progress && data.Articles.size() % 2000 == 0)
      log.Progress(line.substr(0, t1), int(data.Articles.size()), 0);
  }
  log.Omitted += skipped;
  log.LettersFitted += cp.Fitted.LettersFitted;
  log.MarksDropped += cp.Fitted.MarksDropped;
  log.Transliterated += cp.Transliterated;
  log.Unrepresentable += cp.Unrepresentable;
  return data;
}
