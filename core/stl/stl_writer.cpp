#include "core/stl/stl_writer.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "core/common/atomic_file.h"
#include "core/common/number_text.h"

namespace vantora {
namespace {

static_assert(std::endian::native == std::endian::little,
              "binary STL records are written in place as little-endian");

constexpr std::size_t kChunk = 1 << 16;

// The 28-byte identification, a line feed, spaces, and three zero bytes.
std::string BinaryHeader() {
  constexpr std::string_view kIdentification = "Vantora binary STL file     ";
  static_assert(kIdentification.size() == 28 && kIdentification.back() == ' ');
  std::string header(80, ' ');
  header.replace(0, kIdentification.size(), kIdentification);
  header[28] = '\n';
  header[77] = header[78] = header[79] = '\0';
  return header;
}

Vec3 Scaled(const Vec3& v, const StlScaling& s) {
  return {v[0] * s.OutputScale * s.XRate, v[1] * s.OutputScale * s.YRate,
          v[2] * s.OutputScale * s.ZRate};
}

Vec3 NormalOf(const Facet& f) { return TriangleNormal(f.V3, f.V2, f.V1); }

// A rate large enough to overflow a coordinate would write numbers that no STL reader
// takes back, so such a save is refused before the file is touched.
bool ScaledCoordinatesFinite(const FacetTable& table, const StlScaling& scaling) {
  for (int k = 0; k < table.FacetCount; ++k) {
    const Facet& f = table.Facets[k];
    for (const Vec3* v : {&f.V1, &f.V2, &f.V3}) {
      const Vec3 out = Scaled(*v, scaling);
      if (!std::isfinite(out[0]) || !std::isfinite(out[1]) || !std::isfinite(out[2])) {
        return false;
      }
    }
  }
  return true;
}

void AppendVec(std::string& out, const char* prefix, const Vec3& v) {
  out += prefix;
  AppendFloatText(out, v[0]);
  out += ' ';
  AppendFloatText(out, v[1]);
  out += ' ';
  AppendFloatText(out, v[2]);
  out += "\r\n";
}

}  // namespace

void WriteBinaryStl(const FacetTable& table, const StlScaling& scaling, OutputSink& out) {
  std::string chunk = BinaryHeader();
  const std::int32_t count = table.FacetCount;
  chunk.append(reinterpret_cast<const char*>(&count), sizeof count);
  for (int k = 0; k < table.FacetCount; ++k) {
    const Facet& f = table.Facets[k];
    const Vec3 record[4] = {NormalOf(f), Scaled(f.V1, scaling), Scaled(f.V2, scaling),
                            Scaled(f.V3, scaling)};
    chunk.append(reinterpret_cast<const char*>(record), sizeof record);
    chunk += "00";  // attribute bytes 0x30 0x30
    if (chunk.size() >= kChunk) {
      out.Write(chunk);
      chunk.clear();
    }
  }
  out.Write(chunk);
}

void WriteTextStl(const FacetTable& table, const StlScaling& scaling, OutputSink& out) {
  std::string chunk = std::string("solid ") + kStlSolidName + "\r\n";
  for (int k = 0; k < table.FacetCount; ++k) {
    const Facet& f = table.Facets[k];
    AppendVec(chunk, "  facet normal ", NormalOf(f));
    chunk += "  outer loop \r\n";
    AppendVec(chunk, "    vertex ", Scaled(f.V1, scaling));
    AppendVec(chunk, "    vertex ", Scaled(f.V2, scaling));
    AppendVec(chunk, "    vertex ", Scaled(f.V3, scaling));
    chunk += "    endloop \r\n  endfacet \r\n";
    if (chunk.size() >= kChunk) {
      out.Write(chunk);
      chunk.clear();
    }
  }
  chunk += std::string(" endsolid ") + kStlSolidName + "\r\n";
  out.Write(chunk);
}

Status SaveStl(const std::string& path, StlForm form, const FacetTable& table,
               const StlScaling& scaling, Host& host) {
  if (!ScaledCoordinatesFinite(table, scaling)) {
    return Status::Error(ErrorCode::NonFinite,
                         "\"" + path + "\" was not written: the scale rates make the model "
                         "too large for an STL file.");
  }
  AtomicFileWriter file(path);
  if (Status s = file.Open(); !s) return s;
  if (form == StlForm::Binary) {
    WriteBinaryStl(table, scaling, file);
  } else {
    WriteTextStl(table, scaling, file);
  }
  if (Status s = file.Commit(); !s) return s;
  host.ShowMessage("Finish");
  return Status::Ok();
}

}  // namespace vantora
