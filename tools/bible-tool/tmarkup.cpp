#include "tools/bible-tool/tmarkup.h"

#include "core/cp1251.h"

#include <cctype>
#include <cstdlib>

namespace {

void AppendCodePoint(std::string& out, unsigned long c) {
  if (c == 0 || c > 0x10FFFF) c = 0xFFFD;
  AppendUtf8(out, char32_t(c));
}

// Character data with its entities resolved; an unknown entity stays as written.
std::string ResolveEntities(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] != '&') {
      out.push_back(s[i]);
      continue;
    }
    size_t semi = s.find(';', i + 1);
    if (semi == std::string_view::npos || semi - i > 10) {
      out.push_back('&');
      continue;
    }
    std::string_view name = s.substr(i + 1, semi - i - 1);
    if (name == "amp") out.push_back('&');
    else if (name == "lt") out.push_back('<');
    else if (name == "gt") out.push_back('>');
    else if (name == "quot") out.push_back('"');
    else if (name == "apos") out.push_back('\'');
    else if (name == "nbsp") out.push_back(' ');
    else if (name.size() > 1 && name[0] == '#') {
      std::string digits(name.substr(1));
      bool hex = !digits.empty() && (digits[0] == 'x' || digits[0] == 'X');
      if (hex) digits.erase(0, 1);
      char* end = nullptr;
      unsigned long c = std::strtoul(digits.c_str(), &end, hex ? 16 : 10);
      if (digits.empty() || *end != 0) {
        out.append(s.substr(i, semi - i + 1));
      } else {
        AppendCodePoint(out, c);
      }
    } else {
      out.append(s.substr(i, semi - i + 1));
    }
    i = semi;
  }
  return out;
}

TMarkupToken ParseTag(std::string_view body) {
  TMarkupToken t;
  size_t i = 0;
  if (!body.empty() && body[0] == '/') {
    t.Kind = TMarkupToken::End;
    i = 1;
  } else {
    t.Kind = TMarkupToken::Start;
  }
  // "</>" is an end tag without a name, not a self-closing one: its only "/" is the end mark.
  if (body.size() > i && body.back() == '/') {
    t.SelfClosing = true;
    body.remove_suffix(1);
  }
  size_t nameEnd = i;
  while (nameEnd < body.size() && !std::isspace((unsigned char)body[nameEnd])) ++nameEnd;
  t.Name = std::string(body.substr(i, nameEnd - i));
  i = nameEnd;
  while (i < body.size()) {
    while (i < body.size() && std::isspace((unsigned char)body[i])) ++i;
    size_t keyStart = i;
    while (i < body.size() && body[i] != '=' && !std::isspace((unsigned char)body[i])) ++i;
    std::string key(body.substr(keyStart, i - keyStart));
    while (i < body.size() && std::isspace((unsigned char)body[i])) ++i;
    std::string value;
    if (i < body.size() && body[i] == '=') {
      ++i;
      while (i < body.size() && std::isspace((unsigned char)body[i])) ++i;
      if (i < body.size() && (body[i] == '"' || body[i] == '\'')) {
        char quote = body[i++];
        size_t close = body.find(quote, i);
        if (close == std::string_view::npos) close = body.size();
        value = ResolveEntities(body.substr(i, close - i));
        i = close < body.size() ? close + 1 : close;
      } else {
        size_t start = i;
        while (i < body.size() && !std::isspace((unsigned char)body[i])) ++i;
        value = ResolveEntities(body.substr(start, i - start));
      }
    }
    if (!key.empty()) t.Attributes.emplace_back(std::move(key), std::move(value));
  }
  return t;
}

std::string Lower(std::string s) {
  for (char& c : s) c = char(std::tolower((unsigned char)c));
  return s;
}

bool StartsWith(std::string_view s, std::string_view prefix) {
  return s.substr(0, prefix.size()) == prefix;
}

// Builds the view markup of one verse from the tokens of any source markup.
class TVerseBuilder {
 public:
  explicit TVerseBuilder(const TMarkupOptions& options) : Options(options) {}

  void Text(std::string_view s) {
    if (Skip > 0) return;
    for (char c : s) {
      switch (c) {
        // The view's markup characters cannot stand for themselves in a text.
        case '|': Out += "\xC2\xA6"; break;
        case '~': Out.push_back('-'); break;
        case '{': Out.push_back('('); break;
        case '}': Out.push_back(')'); break;
        case '\n': case '\r': case '\t': Out.push_back(' '); break;
        default: Out.push_back(c);
      }
      if (!std::isspace((unsigned char)c)) HasText = true;
    }
  }
  void Italic(bool on) {
    if (Skip > 0) return;
    if (on) {
      if (ItalicDepth++ == 0) Out.push_back('|');
    } else if (ItalicDepth > 0) {
      if (--ItalicDepth == 0) Out.push_back('|');
    }
  }
  void LineBreak() {
    if (Skip > 0) return;
    if (NoteDepth > 0) Out.push_back(' ');
    else Out.push_back('~');
  }
  void Paragraph() {
    if (Skip > 0) return;
    if (!HasText) ParagraphStart = true;
    else LineBreak();
  }
  void NoteStart() {
    if (Skip > 0 || NoteDepth++ > 0) return;
    while (!Out.empty() && Out.back() == ' ') Out.pop_back();
    Out += " {";
  }
  void NoteEnd() {
    if (NoteDepth == 0) return;
    if (--NoteDepth > 0 || Skip > 0) return;
    while (!Out.empty() && Out.back() == ' ') Out.pop_back();
    Out += "} ";
  }
  void Strongs(std::string_view values) {
    if (!Options.StrongsNumbers || Skip > 0 || NoteDepth > 0) return;
    size_t i = 0;
    while (i < values.size()) {
      size_t j = values.find_first_of(" ,;|", i);
      if (j == std::string_view::npos) j = values.size();
      std::string_view item = values.substr(i, j - i);
      if (StartsWith(item, "strong:")) item.remove_prefix(7);
      std::string word = StrongsWord(item);
      if (!word.empty()) {
        Out.push_back(' ');
        Out += word;
        HasText = true;
      }
      i = j + 1;
    }
  }

  TConvertedVerse Result() const {
    TConvertedVerse r;
    std::string text = Out;
    r.Text = TidyViewMarkup(text);
    r.ParagraphStart = ParagraphStart;
    return r;
  }

  int Skip = 0;  // > 0 while inside an element whose content is not part of the text
  int NoteDepth = 0;

 private:
  const TMarkupOptions& Options;
  std::string Out;
  int ItalicDepth = 0;
  bool HasText = false;
  bool ParagraphStart = false;
};

struct TOpenElement {
  std::string Name;
  enum TAction { None, Italic, Note, Skip, Strongs, Line, Title } Action = None;
  std::string Lemma;
};

void ConvertXml(const std::vector<TMarkupToken>& tokens, TVerseBuilder& b, TSourceMarkup markup) {
  std::vector<TOpenElement> open;
  auto close = [&b](const TOpenElement& e) {
    switch (e.Action) {
      case TOpenElement::Italic: b.Italic(false); break;
      case TOpenElement::Note: b.NoteEnd(); break;
      case TOpenElement::Skip: --b.Skip; break;
      case TOpenElement::Strongs: b.Strongs(e.Lemma); break;
      case TOpenElement::Line: b.LineBreak(); break;
      case TOpenElement::Title: b.LineBreak(); break;
      case TOpenElement::None: break;
    }
  };
  for (const TMarkupToken& t : tokens) {
    if (t.Kind == TMarkupToken::Characters) {
      b.Text(t.Text);
      continue;
    }
    std::string name = Lower(t.Name);
    if (t.Kind == TMarkupToken::End) {
      // Close up to the matching element; a stray end tag closes nothing.
      for (size_t k = open.size(); k-- > 0;) {
        if (open[k].Name == name) {
          while (open.size() > k) {
            close(open.back());
            open.pop_back();
          }
          break;
        }
      }
      continue;
    }
    TOpenElement e;
    e.Name = name;
    bool milestoneEnd = !t.Attribute("eID").empty();
    bool milestoneStart = !t.Attribute("sID").empty();
    if (name == "w") {
      e.Action = TOpenElement::Strongs;
      e.Lemma = t.Attribute("lemma");
      if (e.Lemma.empty()) e.Lemma = t.Attribute("savlm");
    } else if (name == "transchange") {
      if (t.Attribute("type") == "added") {
        b.Italic(true);
        e.Action = TOpenElement::Italic;
      }
    } else if (name == "hi" || name == "i" || name == "em" || name == "added") {
      std::string type = t.Attribute("type") + t.Attribute("rend");
      if (name != "hi" || type == "italic" || type == "i") {
        b.Italic(true);
        e.Action = TOpenElement::Italic;
      }
    } else if (name == "note") {
      b.NoteStart();
      e.Action = TOpenElement::Note;
    } else if (name == "reference" && b.NoteDepth > 0 &&
               (t.Attribute("type") == "annotateRef" || t.Attribute("type") == "source")) {
      ++b.Skip;
      e.Action = TOpenElement::Skip;
    } else if (name == "title") {
      // Psalm superscriptions are scripture and open the verse as a line of their own; editorial
      // section headings are not part of the verse.
      if (t.Attribute("canonical") == "true" || t.Attribute("type") == "psalm") {
        e.Action = TOpenElement::Title;
      } else {
        ++b.Skip;
        e.Action = TOpenElement::Skip;
      }
    } else if (name == "lb" || name == "br") {
      b.LineBreak();
    } else if (name == "l") {
      if (milestoneEnd) b.LineBreak();
      else if (!milestoneStart && !t.SelfClosing) e.Action = TOpenElement::Line;
    } else if (name == "p") {
      b.Paragraph();
    } else if (name == "div" || name == "milestone") {
      std::string type = t.Attribute("type");
      if ((type == "x-p" || type == "paragraph" || type == "pilcrow" || type == "x-pilcrow") &&
          !milestoneEnd)
        b.Paragraph();
    } else if (name == "q") {
      b.Text(t.Attribute("marker"));
    } else if (name == "sync" && markup == TSourceMarkup::Thml) {
      if (Lower(t.Attribute("type")) == "strongs") b.Strongs(t.Attribute("value"));
    } else if (name == "scripref" || name == "rdg") {
      // Variant readings and cross references belong with the notes, not the running text.
      if (name == "rdg") {
        ++b.Skip;
        e.Action = TOpenElement::Skip;
      }
    }
    if (t.SelfClosing) {
      close(e);
      continue;
    }
    open.push_back(std::move(e));
  }
  while (!open.empty()) {
    close(open.back());
    open.pop_back();
  }
}

void ConvertGbf(const std::vector<TMarkupToken>& tokens, TVerseBuilder& b) {
  bool inTitle = false;
  for (const TMarkupToken& t : tokens) {
    if (t.Kind == TMarkupToken::Characters) {
      b.Text(t.Text);
      continue;
    }
    const std::string& n = t.Name;
    if (n == "FI") b.Italic(true);
    else if (n == "Fi") b.Italic(false);
    else if (n == "RF") b.NoteStart();
    else if (n == "Rf") b.NoteEnd();
    else if (n == "CL") b.LineBreak();
    else if (n == "CM") b.Paragraph();
    else if (n == "TS") { ++b.Skip; inTitle = true; }
    else if (n == "Ts") { if (inTitle) --b.Skip; inTitle = false; }
    else if (n.size() > 2 && (StartsWith(n, "WH") || StartsWith(n, "WG")) && std::isdigit((unsigned char)n[2]))
      b.Strongs(n.substr(1));
  }
}

}  // namespace

std::string TMarkupToken::Attribute(std::string_view name) const {
  for (const auto& [k, v] : Attributes)
    if (k == name) return v;
  return "";
}

std::vector<TMarkupToken> TokenizeMarkup(std::string_view raw) {
  std::vector<TMarkupToken> tokens;
  std::string text;
  auto flush = [&]() {
    if (text.empty()) return;
    TMarkupToken t;
    t.Text = ResolveEntities(text);
    tokens.push_back(std::move(t));
    text.clear();
  };
  size_t i = 0;
  while (i < raw.size()) {
    if (raw[i] == '<') {
      size_t close = raw.find('>', i + 1);
      if (close == std::string_view::npos) {
        text.append(raw.substr(i));
        break;
      }
      std::string_view body = raw.substr(i + 1, close - i - 1);
      i = close + 1;
      if (body.empty() || body[0] == '!' || body[0] == '?') continue;  // comments, declarations
      flush();
      tokens.push_back(ParseTag(body));
    } else {
      text.push_back(raw[i++]);
    }
  }
  flush();
  return tokens;
}

std::string StrongsWord(std::string_view value) {
  if (value.size() < 2) return "";
  char prefix = char(std::toupper((unsigned char)value[0]));
  if (prefix != 'H' && prefix != 'G') return "";
  size_t i = 1;
  while (i < value.size() && value[i] == '0') ++i;
  size_t digitsStart = i;
  while (i < value.size() && std::isdigit((unsigned char)value[i])) ++i;
  if (i == 1 || (i < value.size() && !std::isalpha((unsigned char)value[i]))) return "";
  std::string number(value.substr(digitsStart, i - digitsStart));
  if (number.empty()) {
    if (digitsStart == 1) return "";  // no digits at all
    number = "0";
  }
  std::string out(1, prefix);
  out += number;
  // A letter suffix marks a variant of the number and belongs to it.
  while (i < value.size() && std::isalpha((unsigned char)value[i])) out.push_back(value[i++]);
  return out;
}

std::string TidyViewMarkup(std::string_view text) {
  // Italics end at every line break in the view; reopen them on the next line.
  std::string s;
  bool italic = false;
  for (char c : text) {
    if (c == '|') {
      italic = !italic;
      s.push_back(c);
    } else if (c == '~' && italic) {
      s += "|~|";
    } else {
      s.push_back(c == '\t' || c == '\n' || c == '\r' ? ' ' : c);
    }
  }
  if (italic) s.push_back('|');
  // Empty italic runs carry nothing.
  std::string t;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '|' && i + 1 < s.size() && s[i + 1] == '|') {
      ++i;
      continue;
    }
    t.push_back(s[i]);
  }
  // Blanks: one at a time, none at the ends of a line piece.
  std::string u;
  for (char c : t) {
    if (c == ' ' && (u.empty() || u.back() == ' ' || u.back() == '~')) continue;
    if (c == '~')
      while (!u.empty() && u.back() == ' ') u.pop_back();
    u.push_back(c);
  }
  while (!u.empty() && u.back() == ' ') u.pop_back();
  // Line breaks at the very ends make empty lines.
  size_t start = 0;
  while (start < u.size() && u[start] == '~') ++start;
  size_t end = u.size();
  while (end > start && u[end - 1] == '~') --end;
  return u.substr(start, end - start);
}

TConvertedVerse ConvertVerseMarkup(std::string_view raw, TSourceMarkup markup,
                                   const TMarkupOptions& options) {
  TVerseBuilder b(options);
  if (markup == TSourceMarkup::Plain) {
    b.Text(raw);
  } else {
    std::vector<TMarkupToken> tokens = TokenizeMarkup(raw);
    if (markup == TSourceMarkup::Gbf) ConvertGbf(tokens, b);
    else ConvertXml(tokens, b, markup);
  }
  return b.Result();
}

std::string MarkupSafeText(std::string s) {
  for (char& c : s) {
    if (c == '{')
      c = '(';
    else if (c == '}')
      c = ')';
    else if (c == '|')
      c = '/';
    else if (c == '~')
      c = '-';
    else if (c == '\n' || c == '\r' || c == '\t')
      c = ' ';
  }
  return s;
}
