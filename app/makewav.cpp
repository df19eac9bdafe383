// Writes the splash sound: a short bell-like chord of three notes, 16-bit mono PCM.

#include <cmath>
#include <cstdint>
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <vector>

namespace {

void Put16(std::ofstream& out, uint16_t v) {
  const char b[2] = {char(v & 0xFF), char(v >> 8)};
  out.write(b, 2);
}

void Put32(std::ofstream& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.put(char((v >> (8 * i)) & 0xFF));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: makewav OUTPUT.wav\n");
    return 2;
  }
  constexpr int Rate = 22050;
  constexpr double Seconds = 1.6;
  const int frames = int(Rate * Seconds);
  // C5, E5, G5 struck one after another, each with a decaying tone and a soft overtone.
  const double notes[3] = {523.25, 659.25, 783.99};
  const double onsets[3] = {0.0, 0.18, 0.36};
  const double pi = std::acos(-1.0);
  std::vector<int16_t> samples(static_cast<size_t>(frames));
  for (int i = 0; i < frames; ++i) {
    const double t = double(i) / Rate;
    double s = 0;
    for (int k = 0; k < 3; ++k) {
      const double u = t - onsets[k];
      if (u < 0) continue;
      const double attack = std::min(1.0, u / 0.008);
      const double envelope = attack * std::exp(-u * 3.2);
      s += envelope * (std::sin(2 * pi * notes[k] * u) + 0.3 * std::sin(4 * pi * notes[k] * u));
    }
    const double fade = std::min(1.0, (Seconds - t) / 0.05);
    samples[size_t(i)] = int16_t(std::lround(std::clamp(s * 0.28 * fade, -1.0, 1.0) * 32767));
  }
  std::ofstream out(argv[1], std::ios::binary);
  const uint32_t data = uint32_t(frames) * 2;
  out.write("RIFF", 4);
  Put32(out, 36 + data);
  out.write("WAVEfmt ", 8);
  Put32(out, 16);
  Put16(out, 1);  // PCM
  Put16(out, 1);  // mono
  Put32(out, Rate);
  Put32(out, Rate * 2);
  Put16(out, 2);
  Put16(out, 16);
  out.write("data", 4);
  Put32(out, data);
  out.write(reinterpret_cast<const char*>(samples.data()), std::streamsize(data));
  return out ? 0 : 1;
}
