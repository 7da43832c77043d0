#include "core/stl/stl_reader.h"

#include <array>
#include <bit>
#include <cmath>
#include <cstring>
#include <string>

#include "core/common/number_text.h"

namespace vantora {
namespace {

static_assert(std::endian::native == std::endian::little,
              "binary STL records are read in place as little-endian");

enum class Keyword { Other, Facet, Outer, Vertex, EndLoop, EndSolid };

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsWordEnd(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool EqualsLower(std::string_view word, std::string_view lower) {
  if (word.size() != lower.size()) return false;
  for (std::size_t k = 0; k < word.size(); ++k) {
    if ((word[k] | 0x20) != lower[k]) return false;
  }
  return true;
}

// The first word of a line, blanks before it skipped; `rest` points after it.
Keyword ReadKeyword(const char* p, const char* end, const char*& rest) {
  while (p < end && IsBlank(*p)) ++p;
  const char* word = p;
  while (p < end && !IsWordEnd(*p)) ++p;
  rest = p;
  const std::string_view w(word, static_cast<std::size_t>(p - word));
  switch (w.size()) {
    case 5:
      if (EqualsLower(w, "facet")) return Keyword::Facet;
      if (EqualsLower(w, "outer")) return Keyword::Outer;
      break;
    case 6:
      if (EqualsLower(w, "vertex")) return Keyword::Vertex;
      break;
    case 7:
      if (EqualsLower(w, "endloop")) return Keyword::EndLoop;
      break;
    case 8:
      if (EqualsLower(w, "endsolid")) return Keyword::EndSolid;
      break;
    default:
      break;
  }
  return Keyword::Other;
}

constexpr std::array<bool, 256> CharClass(std::string_view members) {
  std::array<bool, 256> table{};
  for (char c : members) table[static_cast<unsigned char>(c)] = true;
  return table;
}
constexpr auto kNumberStart = CharClass("0123456789+-.");

// Finds the next number of the line at or after `p`: skips to a character that can
// start one and converts the longest run of number characters as atof does. False
// when the line has none left.
bool NextNumber(const char*& p, const char* end, double& value) {
  while (p < end && !kNumberStart[static_cast<unsigned char>(*p)]) {
    if (*p == '\n') return false;
    ++p;
  }
  if (p == end) return false;
  value = ReadNumberRun(p, end);
  return true;
}

bool ThreeNumbers(const char*& p, const char* end, double& a, double& b, double& c) {
  return NextNumber(p, end, a) && NextNumber(p, end, b) && NextNumber(p, end, c);
}

bool IsFinite(const Facet& f) {
  const float* v = &f.Normal[0];
  for (int k = 0; k < 12; ++k) {
    if (!std::isfinite(v[k])) return false;
  }
  return true;
}

Status LineError(int line, std::string_view what) {
  return Status::Error(ErrorCode::Malformed,
                       "STL file error in line " + std::to_string(line) + ": " +
                           std::string(what));
}

Status CapacityError(const FacetTable& table) {
  return Status::Error(ErrorCode::CapacityExceeded,
                       "The model has more than " + std::to_string(table.Capacity) +
                           " facets, more than a view can hold.");
}

// The state of one text reading: where the facet being read stands.
class TextStlParser {
 public:
  TextStlParser(TDataModule1& store, FacetTable& table, Host& host)
      : store_(store), table_(table), host_(host) {}

  // Handles the line that starts at `p`, leaving `p` somewhere inside it; false with
  // `error` set when the line breaks the format.
  bool Line(const char*& p, const char* end, int lineNo) {
    const char* rest = nullptr;
    const Keyword keyword = ReadKeyword(p, end, rest);
    p = rest;
    switch (keyword) {
      case Keyword::Facet: return FacetLine(p, end);
      case Keyword::Outer: return Outer(lineNo);
      case Keyword::Vertex: return Vertex(p, end, lineNo);
      case Keyword::EndLoop: return EndLoop(lineNo);
      case Keyword::EndSolid: vertex_ = 0; return true;
      case Keyword::Other: return true;
    }
    return true;
  }

  int facets() const { return facetIndex_; }
  bool insideLoop() const { return inLoop_; }
  // A facet's loop has opened.
  bool facetSeen() const { return facetIndex_ > 0 || inLoop_; }
  Status error;

 private:
  bool FacetLine(const char*& p, const char* end) {
    auto& c = facet_;
    // A facet line without a normal is harmless: the normal only shades the view.
    double n[3] = {0, 0, 0};
    ThreeNumbers(p, end, n[0], n[1], n[2]);
    c[NX] = n[0];
    c[NY] = n[1];
    c[NZ] = n[2];
    return true;
  }

  bool Outer(int lineNo) {
    if (inLoop_) return Fail(LineError(lineNo, "a loop opens inside another loop."));
    if (facetIndex_ >= table_.Capacity) return Fail(CapacityError(table_));
    inLoop_ = true;
    table_.NewFacet(facetIndex_);
    table_.CopyFacetNormal(facet_);
    return true;
  }

  bool Vertex(const char*& p, const char* end, int lineNo) {
    if (!inLoop_) return Fail(LineError(lineNo, "a vertex outside a facet loop."));
    if (vertex_ >= 3) return Fail(LineError(lineNo, "a facet with more than three vertices."));
    auto& c = facet_;
    if (!ThreeNumbers(p, end, c[X1 + vertex_], c[Y1 + vertex_], c[Z1 + vertex_])) {
      return Fail(LineError(lineNo, "a vertex needs three numbers."));
    }
    ++vertex_;
    return true;
  }

  bool EndLoop(int lineNo) {
    if (!inLoop_ || vertex_ != 3) {
      return Fail(LineError(lineNo, "a facet loop without exactly three vertices."));
    }
    table_.FillFacet(facet_, store_, host_);
    if (!IsFinite(table_.Facets[facetIndex_])) {
      return Fail(Status::Error(ErrorCode::NonFinite,
                                "STL file error in line " + std::to_string(lineNo) +
                                    ": a number is too large for a coordinate."));
    }
    ++facetIndex_;
    vertex_ = 0;
    inLoop_ = false;
    return true;
  }

  bool Fail(Status s) {
    error = std::move(s);
    return false;
  }

  TDataModule1& store_;
  FacetTable& table_;
  Host& host_;
  StlFacetValues facet_{};  // the facet being read
  int facetIndex_ = 0;
  int vertex_ = 0;
  bool inLoop_ = false;
};

}  // namespace

TextStlResult ReadTextStl(std::string_view text, TDataModule1& store, FacetTable& table,
                          Host& host, std::chrono::milliseconds watchdog) {
  using Clock = std::chrono::steady_clock;
  const auto started = Clock::now();
  TextStlParser parser(store, table, host);
  const char* p = text.data();
  const char* const end = p + text.size();
  int lineNo = 0;
  bool looksLikeText = true;
  while (p < end && looksLikeText) {
    if (!parser.Line(p, end, ++lineNo)) {
      return {TextStlResult::Kind::Failed, parser.facets(), std::move(parser.error)};
    }
    while (p < end && *p != '\n') ++p;  // the rest of the line, short after the parse
    if (p < end) ++p;
    host.ProcessPendingMessages();
    if ((lineNo & 1023) == 0 && !parser.facetSeen() && Clock::now() - started >= watchdog) {
      looksLikeText = false;  // the watchdog: no facet in time, so not a text file
    }
  }
  if (parser.facets() == 0 || !looksLikeText) return {};
  return {TextStlResult::Kind::Read, parser.facets(), Status::Ok(), parser.insideLoop()};
}

namespace {

constexpr std::size_t kHeaderSize = 80;
constexpr std::size_t kRecordSize = 50;

std::int64_t DeclaredCount(std::span<const std::byte> bytes) {
  std::int32_t count = 0;
  std::memcpy(&count, bytes.data() + kHeaderSize, sizeof count);
  return count;
}

}  // namespace

bool HasBinaryStlSize(std::span<const std::byte> bytes) {
  if (bytes.size() < kHeaderSize + 4) return false;
  const std::int64_t count = DeclaredCount(bytes);
  return count >= 0 &&
         bytes.size() == kHeaderSize + 4 + kRecordSize * static_cast<std::uint64_t>(count);
}

BinaryStlResult ReadBinaryStl(std::span<const std::byte> bytes, TDataModule1& store,
                              FacetTable& table, Host& host) {
  BinaryStlResult result;
  if (bytes.size() < kHeaderSize + 4) {
    result.status = Status::Error(ErrorCode::Malformed,
                                  "The file is too short to be an STL file.");
    return result;
  }
  result.declaredCount = DeclaredCount(bytes);
  const std::int64_t whole = static_cast<std::int64_t>((bytes.size() - kHeaderSize - 4) /
                                                       kRecordSize);
  const std::int64_t count = std::max<std::int64_t>(0, std::min(result.declaredCount, whole));
  if (count > table.Capacity) {
    result.status = CapacityError(table);
    return result;
  }
  StlFacetValues c{};
  const std::byte* record = bytes.data() + kHeaderSize + 4;
  for (int k = 0; k < count; ++k, record += kRecordSize) {
    float v[12];
    std::memcpy(v, record, sizeof v);
    for (float x : v) {
      if (!std::isfinite(x)) {
        result.status = Status::Error(
            ErrorCode::NonFinite, "Facet " + std::to_string(k + 1) +
                                      " of the file holds a number that is not finite "
                                      "(NaN or infinity); the file was not loaded.");
        return result;
      }
    }
    c[NX] = v[0];
    c[NY] = v[1];
    c[NZ] = v[2];
    table.NewFacet(k);
    table.CopyFacetNormal(c);
    for (int vertex = 0; vertex < 3; ++vertex) {
      c[X1 + vertex] = v[3 + 3 * vertex];
      c[Y1 + vertex] = v[4 + 3 * vertex];
      c[Z1 + vertex] = v[5 + 3 * vertex];
    }
    table.FillFacet(c, store, host);
  }
  result.facetCount = static_cast<int>(count);
  return result;
}

}  // namespace vantora
