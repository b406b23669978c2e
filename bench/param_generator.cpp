#include "bench/param_generator.h"

#include <cstdio>
#include <random>

namespace habuki::bench {

namespace {

// Kinds in the proportions of a real 30i backup, with their entries per record (0: one value).
struct KindShape {
  char kind;
  int weight;
  int entries;
};
constexpr KindShape kShapes[] = {{'L', 3279, 4}, {'P', 3056, 0}, {'A', 1728, 20},
                                 {'S', 1038, 6}, {'T', 15, 3},   {'M', 8, 0}};

class Shaper {
 public:
  explicit Shaper(unsigned seed) : random_(seed) {}

  const KindShape& Kind() {
    std::discrete_distribution<int> pick({3279, 3056, 1728, 1038, 15, 8});
    return kShapes[pick(random_)];
  }

  // About 3 values in 100 are not zero, as in the real file.
  std::string Value(bool real) {
    if (Chance(3)) {
      return real ? std::to_string(Below(2000)) + "." + std::to_string(Below(1000))
                  : Padded(Below(100000000));
    }
    if (real) return "0.0";
    const int spelling = Below(10);
    return spelling < 6 ? "0" : spelling < 8 ? "00000000" : "00000000 ";
  }

  bool Chance(int percent) { return Below(100) < percent; }

 private:
  int Below(int bound) { return std::uniform_int_distribution<int>(0, bound - 1)(random_); }
  static std::string Padded(int value) {
    char text[16];
    std::snprintf(text, sizeof text, "%08d", value);
    return text;
  }

  std::mt19937 random_;
};

std::string Head(int number, int digits = 5) {
  char head[16];
  std::snprintf(head, sizeof head, "N%0*dQ1", digits,
                digits == 5 ? number % 100000 : number % 10000);
  return head;
}

}  // namespace

std::string GenerateShaped30i(int records, unsigned seed) {
  Shaper shaper(seed);
  std::string text = "%\n";
  for (int number = 0; number < records; ++number) {
    const KindShape& shape = shaper.Kind();
    text += Head(number);
    if (shape.entries == 0) {
      text += shape.kind + shaper.Value(shape.kind == 'M');
    } else {
      const bool real = shaper.Chance(25);  // real-valued entries use the "M" marker
      for (int entry = 1; entry <= shape.entries; ++entry) {
        text += shape.kind + std::to_string(entry) + (real ? "M" : "P") + shaper.Value(real);
      }
    }
    text += '\n';
  }
  return text + "%";
}

std::string GenerateShaped16i(int records, unsigned seed) {
  Shaper shaper(seed);
  std::string text = "%\n";
  for (int number = 0; number < records; ++number) {
    text += Head(number, 4);
    if (shaper.Chance(50)) {
      text += "P" + shaper.Value(false);
    } else {
      for (int entry = 1; entry <= 8; ++entry) {
        text += "A" + std::to_string(entry) + "P" + shaper.Value(false);
      }
    }
    text += '\n';
  }
  return text + "%";
}

std::string GenerateAdversarial30i(std::size_t bytes) {
  Shaper shaper(2);
  std::string text = "%\n";
  for (int number = 0; text.size() < bytes; ++number) {
    const char kind = "ALST"[number % 4];
    text += Head(number);
    for (int entry = 1; entry <= 999; ++entry) {
      text += kind + std::to_string(entry) + "P" + shaper.Value(false);
    }
    text += '\n';
  }
  return text + "%";
}

std::string GenerateAllKept30i(int records, int entries) {
  std::string text = "%\n";
  for (int number = 0; number < records; ++number) {
    const char kind = "ALST"[number % 4];
    text += Head(number);
    for (int entry = 1; entry <= entries; ++entry) {
      text += kind + std::to_string(entry) + "P" + std::to_string(number % 9 + 1);
    }
    text += '\n';
  }
  return text + "%";
}

}  // namespace habuki::bench
