#pragma once
// Conversion of the markup of imported texts (OSIS, ThML, GBF, TEI) into the view's own markup:
// "|" switches italics (added words), "~" breaks the line, " {...}" is a footnote. The result is
// UTF-8; the importer converts it into the version's code page afterwards.

#include <string>
#include <string_view>
#include <utility>
#include <vector>

enum class TSourceMarkup { Plain, Osis, Thml, Gbf, Tei };

// One piece of marked-up text: character data (entities resolved) or a tag.
struct TMarkupToken {
  enum TKind { Characters, Start, End };
  TKind Kind = Characters;
  std::string Name;  // tag name (GBF: the whole tag, such as "FI" or "WH0430")
  std::string Text;  // character data of a Text token
  std::vector<std::pair<std::string, std::string>> Attributes;
  bool SelfClosing = false;

  // The attribute's value, "" when absent.
  std::string Attribute(std::string_view name) const;
};

// Splits marked-up text into tokens. Never fails: a "<" without its ">" is taken as text.
std::vector<TMarkupToken> TokenizeMarkup(std::string_view raw);

struct TMarkupOptions {
  // Strong's numbers as words such as H430 and G2316 right after the word they tag.
  bool StrongsNumbers = false;
};

struct TConvertedVerse {
  std::string Text;             // UTF-8 in the view's markup, trimmed
  bool ParagraphStart = false;  // the verse opens a paragraph
};

TConvertedVerse ConvertVerseMarkup(std::string_view raw, TSourceMarkup markup,
                                   const TMarkupOptions& options);

// A Strong's number as the text carries it: letter and number without leading zeros ("H0430" ->
// "H430"); "" when the value is not a Strong's number.
std::string StrongsWord(std::string_view value);

// Collapses blanks, drops blanks around line breaks and at both ends, closes italics at every line
// break (the view ends them there) and drops empty line pieces at the ends.
std::string TidyViewMarkup(std::string_view text);

// Character data as plain text in the view's markup: the view's own marks ("{", "}", "|", "~")
// become look-alikes and line breaks and tabs blanks, so that a source's text cannot open a
// footnote or switch italics.
std::string MarkupSafeText(std::string s);
