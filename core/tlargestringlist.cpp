#include "core/tlargestringlist.h"

#include "core/eioerror.h"
#include "core/tfile.h"

TLargeStringList2::TLargeStringList2(const TBible* bible) { SetBible(bible); }

void TLargeStringList2::SetBible(const TBible* bible) {
  Bible = bible;
  WordPair.reset();
  if (Bible && !Bible->DataPath.empty())
    WordPair = std::make_unique<TInfoFile>(Bible->DataPath + "WordPoint.bin",
                                           Bible->DataPath + "WordList.txt");
}

int32_t TLargeStringList2::GetCount() { return WordPair ? WordPair->Count() : 0; }

std::string TLargeStringList2::GetWord(int32_t index) {
  return WordPair ? WordPair->ReadLine(index) : std::string();
}

int32_t TLargeStringList2::IndexOf(const std::string& s) {
  if (!WordPair) return 0;
  const int32_t i = WordPair->FindLine(s);
  return i < 0 ? 0 : i;
}

// "word count": the count is the stored set's own count in Conc.bin, never computed.
std::string TLargeStringList2::Get(int32_t index) {
  const std::string word = GetWord(index);
  uint16_t count = 0;
  TFile units;
  if (Bible && units.OpenRead(Bible->DataPath + "ConcP.bin") && index >= 0 &&
      int64_t(index) * 4 + 4 <= units.Size()) {
    unsigned char buf[4];
    units.Seek(int64_t(index) * 4);
    units.ReadExact(buf, 4);
    units.Close();
    const int32_t offset = GetI32(buf);
    const std::string concName = Bible->DataPath + "Conc.bin";
    TFile conc;
    if (!conc.OpenRead(concName)) RaiseInOutError(ioFileNotFound, concName);
    if (offset < 0) RaiseInOutError(ioReadBeyondEnd, concName);
    conc.Seek(int64_t(offset) * 2);
    unsigned char head[2];
    conc.ReadExact(head, 2);
    count = GetU16(head);
  }
  return word + " " + std::to_string(count);
}
