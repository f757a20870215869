// The Windows font system of the cairo surface: cairo's win32 font backend
// draws the LOGFONT's own font, and GDI measures the same font, so a page
// places its texts exactly as GDI places them on a device of the surface's
// resolution.
#include <windows.h>

#include <cairo-win32.h>
#include <cairo.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <memory>
#include <string>

#include "render/cairo_fonts.h"
#include "render/gdi_surface_win.h"
#include "render/lru_cache.h"

namespace vell {

namespace {

// Fonts a page asks for beyond this size are clamped, as the host's font
// system clamps them.
constexpr int32_t kLargestHeight = 16000;

// The page's LOGFONTA with its size clamped.
LOGFONTA page_logfont(const LogFont& font) {
    LOGFONTA lf = to_logfonta(font);
    lf.lfHeight = std::clamp<LONG>(lf.lfHeight, -kLargestHeight, kLargestHeight);
    lf.lfWidth = std::clamp<LONG>(lf.lfWidth, -kLargestHeight, kLargestHeight);
    return lf;
}

// A GDI font selected into the measuring context for as long as it lives.
class SelectedFont {
public:
    SelectedFont(HDC dc, const LOGFONTA& lf) : dc_(dc), font_(CreateFontIndirectA(&lf)) {
        if (font_) previous_ = SelectObject(dc_, font_);
    }
    ~SelectedFont() {
        if (!font_) return;
        SelectObject(dc_, previous_);
        DeleteObject(font_);
    }
    SelectedFont(const SelectedFont&) = delete;
    SelectedFont& operator=(const SelectedFont&) = delete;
    explicit operator bool() const { return font_ != nullptr; }

private:
    HDC dc_;
    HFONT font_;
    HGDIOBJ previous_ = nullptr;
};

}  // namespace

// A cairo win32 face; GDI measures from the LOGFONT itself.
struct MeasuringFace {
    cairo_font_face_t* cairo = nullptr;
    ~MeasuringFace() {
        if (cairo) cairo_font_face_destroy(cairo);
    }
};

struct FontBackend {
    HDC dc = CreateCompatibleDC(nullptr);  // measures, draws nothing
    // One cairo face per face name, weight, slant and character set: the
    // PDF embeds each once as a subset, whatever sizes the page uses.
    LruCache<std::string, std::shared_ptr<MeasuringFace>> faces{FontCache::kFaces};
    LruCache<std::string, std::shared_ptr<CairoFont>> fonts{FontCache::kFonts};

    FontBackend() {
        // A static cairo never runs its DllMain, which initialises cairo's
        // locks; any surface initialises them too. Without this, a first
        // win32 font face made before any other cairo object would wait on
        // a lock that was never made.
        cairo_surface_destroy(cairo_image_surface_create(CAIRO_FORMAT_RGB24, 1, 1));
    }
    ~FontBackend() {
        fonts.clear();
        faces.clear();
        if (dc) DeleteDC(dc);
    }
    FontBackend(const FontBackend&) = delete;
    FontBackend& operator=(const FontBackend&) = delete;

    std::shared_ptr<MeasuringFace> face(const LOGFONTA& lf);
};

FontBackend* new_font_backend() {
    auto* backend = new FontBackend;
    if (backend->dc) return backend;
    delete backend;
    return nullptr;
}

void FontBackendDeleter::operator()(FontBackend* backend) const { delete backend; }

size_t backend_cached_fonts(const FontBackend& backend) { return backend.fonts.size(); }

std::shared_ptr<MeasuringFace> FontBackend::face(const LOGFONTA& lf) {
    std::string key(lf.lfFaceName);
    for (char& c : key) c = char(std::toupper(static_cast<unsigned char>(c)));
    key += '|' + std::to_string(lf.lfWeight) + '|' + std::to_string(lf.lfItalic) + '|' +
           std::to_string(lf.lfCharSet);
    if (std::shared_ptr<MeasuringFace>* found = faces.find(key)) return *found;
    // cairo takes the face from the LOGFONT and ignores its size and angle.
    LOGFONTW lfw = {};
    lfw.lfWeight = lf.lfWeight;
    lfw.lfItalic = lf.lfItalic;
    lfw.lfCharSet = lf.lfCharSet;
    lfw.lfOutPrecision = lf.lfOutPrecision;
    lfw.lfClipPrecision = lf.lfClipPrecision;
    lfw.lfQuality = lf.lfQuality;
    lfw.lfPitchAndFamily = lf.lfPitchAndFamily;
    MultiByteToWideChar(CP_ACP, 0, lf.lfFaceName, -1, lfw.lfFaceName, LF_FACESIZE);
    lfw.lfFaceName[LF_FACESIZE - 1] = 0;
    auto made = std::make_shared<MeasuringFace>();
    made->cairo = cairo_win32_font_face_create_for_logfontw(&lfw);
    if (cairo_font_face_status(made->cairo) != CAIRO_STATUS_SUCCESS) {
        cairo_font_face_destroy(made->cairo);
        made->cairo = nullptr;
    }
    // A face that cannot be used is remembered too.
    return faces.put(key, made);
}

namespace {

// The advances of the 256 ANSI characters, as GetTextExtentPoint32A sums
// them, with the font selected.
bool read_advances(HDC dc, std::array<int32_t, 256>* advances) {
    INT widths[256] = {};
    if (!GetCharWidth32A(dc, 0, 255, widths)) return false;
    std::copy(widths, widths + 256, advances->begin());
    return true;
}

void read_glyphs(HDC dc, CairoFont* font) {
    char all[256];
    for (int c = 0; c < 256; ++c) all[c] = char(c);
    WORD indices[256] = {};
    if (GetGlyphIndicesA(dc, all, 256, indices, GGI_MARK_NONEXISTING_GLYPHS) == GDI_ERROR) return;
    for (size_t c = 0; c < 256; ++c) font->glyphs[c] = indices[c] == 0xFFFF ? 0 : indices[c];
}

bool build(FontBackend& backend, CairoFont* font) {
    LOGFONTA lf = page_logfont(font->logfont);
    // Measured level; the surface turns the drawing by the escapement.
    lf.lfEscapement = lf.lfOrientation = 0;
    std::shared_ptr<MeasuringFace> face = backend.face(lf);
    if (!face->cairo) return false;
    SelectedFont selected(backend.dc, lf);
    TEXTMETRICA tm = {};
    if (!selected || !GetTextMetricsA(backend.dc, &tm) || !read_advances(backend.dc, &font->advances))
        return false;
    font->face = face->cairo;
    font->face_owner = face;
    font->ppem = std::max<int>(1, tm.tmHeight - tm.tmInternalLeading);
    font->metrics = to_text_metrics(tm);
    const TextMetrics& m = font->metrics;
    font->drawn_advances = font->advances;
    read_glyphs(backend.dc, font);

    OUTLINETEXTMETRICA otm = {};
    otm.otmSize = sizeof otm;
    const bool outline = GetOutlineTextMetricsA(backend.dc, sizeof otm, &otm) != 0;
    font->underline_thickness = outline ? std::max<int>(1, otm.otmsUnderscoreSize) : 1;
    font->strikeout_thickness = outline ? std::max<int>(1, otm.otmsStrikeoutSize) : 1;
    // The font's positions are the lines' centres; GDI puts the top edge
    // half a thickness (rounded down) above them.
    font->underline_position = outline ? -otm.otmsUnderscorePosition - font->underline_thickness / 2
                                       : std::max(1, m.descent / 2);
    font->strikeout_position = outline ? otm.otmsStrikeoutPosition + font->strikeout_thickness / 2
                                       : m.ascent / 3;
    // GDI has measured everything; drawing smooths, and a scalable page
    // does not hint.
    font->smooth = true;
    font->hinted = true;
    font->measuring = nullptr;
    constexpr double kPi = 3.14159265358979323846;
    font->angle = double(font->logfont.escapement % 3600) * kPi / 1800.0;
    return true;
}

}  // namespace

std::shared_ptr<CairoFont> backend_font(FontBackend& backend, const LogFont& logfont) {
    const std::string key(reinterpret_cast<const char*>(&logfont), sizeof logfont);
    if (std::shared_ptr<CairoFont>* found = backend.fonts.find(key)) return *found;
    auto font = std::make_shared<CairoFont>();
    font->logfont = logfont;
    if (!build(backend, font.get())) return nullptr;
    return backend.fonts.put(key, font);
}

int font_advance(CairoFont& font, uint8_t character) { return font.advances[character]; }

int font_drawn_advance(CairoFont& font, uint8_t character) { return font.drawn_advances[character]; }

}  // namespace vell
