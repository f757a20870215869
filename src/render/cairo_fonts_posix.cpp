// The host's font system: fontconfig chooses the font file, FreeType
// measures it as GDI does on FreeType, cairo draws it.
#include "render/cairo_fonts.h"

#include <cairo-ft.h>
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_GASP_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>

#include "render/lru_cache.h"

namespace vell {

FontFile resolve_font_file(const std::string& face, bool bold, bool italic) {
    FontFile file;
    FcPattern* pattern = FcPatternCreate();
    if (!pattern) return file;
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(face.c_str()));
    FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    if (!match) return file;
    FcChar8* path = nullptr;
    FcChar8* family = nullptr;
    int index = 0;
    if (FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch && path)
        file.path = reinterpret_cast<const char*>(path);
    if (FcPatternGetInteger(match, FC_INDEX, 0, &index) == FcResultMatch) file.index = index;
    if (FcPatternGetString(match, FC_FAMILY, 0, &family) == FcResultMatch && family)
        file.family = reinterpret_cast<const char*>(family);
    FcPatternDestroy(match);
    return file;
}

// A face as FreeType measures it; cairo draws from its own copy of the
// file, so setting sizes here never disturbs drawing.
struct MeasuringFace {
    FT_Face ft = nullptr;
    cairo_font_face_t* cairo = nullptr;
    int ppem = 0;  // the size ft is set to
    ~MeasuringFace() {
        if (cairo) cairo_font_face_destroy(cairo);
        if (ft) FT_Done_Face(ft);
    }
    bool set_size(int size) {
        if (ppem == size) return true;
        if (FT_Set_Pixel_Sizes(ft, 0, FT_UInt(size)) != 0) return false;
        ppem = size;
        return true;
    }
};

// The faces and fonts, keyed by what they are drawn from: the font file
// and face fontconfig resolves a name to, and the size and style (see
// FontCache).
struct FontBackend {
    FT_Library library = nullptr;
    size_t resolutions = 0;
    LruCache<std::string, FontFile> names{FontCache::kNames};  // name|style -> file
    LruCache<std::string, std::shared_ptr<MeasuringFace>> faces{FontCache::kFaces};
    LruCache<std::string, std::shared_ptr<CairoFont>> fonts{FontCache::kFonts};
    FontBackend() { FT_Init_FreeType(&library); }
    ~FontBackend() {
        fonts.clear();
        faces.clear();
        if (library) FT_Done_FreeType(library);
    }
};

FontBackend* new_font_backend() { return new FontBackend; }

void FontBackendDeleter::operator()(FontBackend* backend) const { delete backend; }

size_t backend_cached_fonts(const FontBackend& backend) { return backend.fonts.size(); }

namespace {

std::shared_ptr<MeasuringFace> find_face(FontBackend& backend, const FontFile& file) {
    const std::string key = file.path + '|' + std::to_string(file.index);
    if (std::shared_ptr<MeasuringFace>* found = backend.faces.find(key)) return *found;
    auto made = std::make_shared<MeasuringFace>();
    backend.faces.put(key, made);  // a file that cannot be used is remembered too
    if (!backend.library || file.path.empty() ||
        FT_New_Face(backend.library, file.path.c_str(), file.index, &made->ft) != 0) {
        made->ft = nullptr;
        return made;
    }
    // cairo opens the same file for drawing: the measuring face keeps its
    // own size, which drawing never disturbs.
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FILE, reinterpret_cast<const FcChar8*>(file.path.c_str()));
    FcPatternAddInteger(pattern, FC_INDEX, file.index);
    made->cairo = cairo_ft_font_face_create_for_pattern(pattern);
    FcPatternDestroy(pattern);
    if (cairo_font_face_status(made->cairo) != CAIRO_STATUS_SUCCESS) {
        cairo_font_face_destroy(made->cairo);
        made->cairo = nullptr;
        FT_Done_Face(made->ft);
        made->ft = nullptr;
    }
    return made;
}

// A font-unit value in whole pixels: the 16.16 scale, then 26.6 rounded.
int32_t scaled(FT_Long units, FT_Fixed scale) {
    return int32_t((FT_MulFix(units, scale) + 32) >> 6);
}

bool build(CairoFont* font, MeasuringFace& face) {
    FT_Face ft = face.ft;
    const TT_OS2* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(ft, FT_SFNT_OS2));
    const TT_HoriHeader* hhea = static_cast<TT_HoriHeader*>(FT_Get_Sfnt_Table(ft, FT_SFNT_HHEA));
    const TT_Postscript* post = static_cast<TT_Postscript*>(FT_Get_Sfnt_Table(ft, FT_SFNT_POST));
    long ascent = ft->ascender, descent = -ft->descender;
    if (os2 && os2->usWinAscent + os2->usWinDescent != 0) {
        ascent = os2->usWinAscent;
        descent = os2->usWinDescent;
    }
    const long upem = ft->units_per_EM > 0 ? ft->units_per_EM : 2048;
    // lfHeight: negative is the character height (the em), positive the
    // cell height (ascent + descent), 0 the default cell of 16 pixels.
    const LogFont& lf = font->logfont;
    int ppem = 0;
    if (lf.height < 0) {
        ppem = lf.height == INT32_MIN ? INT32_MAX : -lf.height;
    } else {
        const double cell = lf.height == 0 ? 16.0 : double(lf.height);
        ppem = int(std::lround(cell * double(upem) / double(std::max(1L, ascent + descent))));
    }
    // A page can ask for any size; FreeType and memory cannot take any.
    ppem = std::clamp(ppem, 1, 16000);
    if (!face.set_size(ppem)) return false;
    const FT_Fixed y_scale = ft->size->metrics.y_scale;
    const FT_Fixed x_scale = ft->size->metrics.x_scale;

    TextMetrics& m = font->metrics;
    m.ascent = scaled(ascent, y_scale);
    m.descent = scaled(descent, y_scale);
    m.height = m.ascent + m.descent;
    m.internal_leading = scaled(ascent + descent - upem, y_scale);
    const long line_gap = hhea ? hhea->Line_Gap : 0;
    const long hhea_span = hhea ? hhea->Ascender - hhea->Descender : ascent + descent;
    m.external_leading = std::max(0, scaled(line_gap - ((ascent + descent) - hhea_span), y_scale));
    m.ave_char_width = std::max(1, os2 ? scaled(os2->xAvgCharWidth, x_scale) : ppem / 2);
    m.max_char_width = scaled(ft->bbox.xMax - ft->bbox.xMin, x_scale);

    if (post) {
        font->underline_position = -scaled(post->underlinePosition, y_scale);
        font->underline_thickness = std::max(1, scaled(post->underlineThickness, y_scale));
    } else {
        font->underline_position = std::max(1, m.descent / 2);
    }
    if (os2) {
        font->strikeout_position = scaled(os2->yStrikeoutPosition, y_scale);
        font->strikeout_thickness = std::max(1, scaled(os2->yStrikeoutSize, y_scale));
    } else {
        font->strikeout_position = m.ascent / 3;
    }
    for (int b = 0; b < 256; ++b) font->glyphs[size_t(b)] = FT_Get_Char_Index(ft, ansi_to_unicode(uint8_t(b)));
    font->face = face.cairo;
    font->ppem = ppem;
    font->advances.fill(-1);
    font->drawn_advances.fill(-1);
    // The grid-fitting table (gasp) decides, per size, whether GDI smooths
    // and hints the glyphs; a font without one is hinted, not smoothed.
    const FT_Int gasp = FT_Get_Gasp(ft, FT_UInt(ppem));
    if (gasp != FT_GASP_NO_TABLE) {
        font->smooth = (gasp & FT_GASP_DO_GRAY) != 0;
        font->hinted = (gasp & FT_GASP_DO_GRIDFIT) != 0;
    }
    font->measuring = &face;
    // Escapement in tenths of a degree, counterclockwise.
    font->angle = double(lf.escapement % 3600) * M_PI / 1800.0;
    return true;
}

}  // namespace

std::shared_ptr<CairoFont> backend_font(FontBackend& backend, const LogFont& logfont) {
    // The file the name comes to, asked of fontconfig once per name.
    char name[gdi::kFaceSize] = {};
    std::memcpy(name, logfont.face_name, sizeof name - 1);
    const bool bold = logfont.weight >= 600, italic = logfont.italic != 0;
    std::string name_key = name;
    for (char& c : name_key) c = char(std::tolower(static_cast<unsigned char>(c)));
    name_key += bold ? "|b" : "|-";
    name_key += italic ? "i" : "-";
    const FontFile* file = backend.names.find(name_key);
    if (!file && name[0] && backend.resolutions < FontCache::kResolutions) {
        ++backend.resolutions;
        file = &backend.names.put(name_key, resolve_font_file(name, bold, italic));
    } else if (!file) {
        // No name, or a new one past the budget: the default face.
        const std::string default_key = std::string(bold ? "|b" : "|-") + (italic ? "i" : "-");
        file = backend.names.find(default_key);
        if (!file) file = &backend.names.put(default_key, resolve_font_file("Arial", bold, italic));
    }

    // The font: the file and face, and every other field of the LOGFONTA.
    LogFont unnamed = logfont;
    std::memset(unnamed.face_name, 0, sizeof unnamed.face_name);
    std::string key = file->path + '|' + std::to_string(file->index) + '|';
    key.append(reinterpret_cast<const char*>(&unnamed), sizeof unnamed);
    if (std::shared_ptr<CairoFont>* found = backend.fonts.find(key)) return *found;
    std::shared_ptr<MeasuringFace> measuring = find_face(backend, *file);
    if (!measuring->ft) return nullptr;
    auto font = std::make_shared<CairoFont>();
    font->logfont = logfont;
    font->face_owner = measuring;
    if (!build(font.get(), *measuring)) return nullptr;
    return backend.fonts.put(key, font);
}

namespace {

int load_advance(CairoFont& font, uint8_t character, FT_Int32 hinting, int32_t* known) {
    if (*known >= 0) return *known;
    *known = 0;
    MeasuringFace& face = *font.measuring;
    if (!face.set_size(font.ppem)) return 0;
    if (FT_Load_Glyph(face.ft, font.glyphs[character],
                      FT_LOAD_DEFAULT | hinting | FT_LOAD_IGNORE_GLOBAL_ADVANCE_WIDTH) == 0)
        *known = int32_t((face.ft->glyph->metrics.horiAdvance + 63) >> 6);
    return *known;
}

}  // namespace

// Wine measures text (GetTextExtentPoint32A, DrawTextExA's breaks, the
// width it aligns by) with glyphs hinted as for smoothed text, but draws
// glyph by glyph, each stepping by the advance of the glyph as drawn: black
// and white glyphs, where the font's grid-fitting table says not to smooth
// the size, step by their black and white advances.
int font_advance(CairoFont& font, uint8_t character) {
    return load_advance(font, character, FT_LOAD_TARGET_NORMAL, &font.advances[character]);
}

int font_drawn_advance(CairoFont& font, uint8_t character) {
    const FT_Int32 hinting = !font.hinted  ? FT_Int32(FT_LOAD_NO_HINTING)
                             : font.smooth ? FT_Int32(FT_LOAD_TARGET_NORMAL)
                                           : FT_Int32(FT_LOAD_TARGET_MONO);
    return load_advance(font, character, hinting, &font.drawn_advances[character]);
}

}  // namespace vell
