// Writes the seed corpus of the fuzz targets: small documents made with the
// writer that between them use every record kind, the settings blocks, the
// document index, label overrides and a password, plus a few bare pages.
#include <cstdio>
#include <string>

#include "vel_writer.h"

using namespace vell;

static Bytes tiny_bitmap() {
    // A 2 x 2, 24-bit bitmap file: file header, info header, two padded rows.
    Bytes b;
    append_text(b, "BM");
    append_u32(b, 14 + 40 + 16);
    append_u32(b, 0);
    append_u32(b, 14 + 40);
    append_u32(b, 40);
    append_i32(b, 2);
    append_i32(b, 2);
    append_i16(b, 1);
    append_i16(b, 24);
    for (int i = 0; i < 6; ++i) append_u32(b, 0);
    for (int row = 0; row < 2; ++row) {
        for (int i = 0; i < 6; ++i) append_u8(b, uint8_t(40 * (row + i)));
        append_i16(b, 0);
    }
    return b;
}

static PageBuilder every_record() {
    PageBuilder page(9, 0, 7);
    page.font(3, 12.0f, 0x000080, "Arial")
        .aligned_text(1.0f, 1.0f, 0, "Left text")
        .aligned_text(7.5f, 1.0f, 3, "1234.50")
        .rotated_text(1.0f, 5.0f, 90, "Rotated")
        .page_number(4.0f, 10.5f, 1, 0)
        .page_total(4.5f, 10.5f, 2, 0)
        .line(1.0f, 2.0f, 7.5f, 2.0f, 0.5f, 0x0000FF)
        .box(1.0f, 3.0f, 3.0f, 4.0f, -1.0f, 0xC0C0C0, 0)
        .picture_file(5.0f, 5.0f, 6.0f, 6.0f, "missing.bmp")
        .window_label(6, "Onward")
        .embedded_picture(1.0f, 6.0f, 3.0f, 8.0f, tiny_bitmap())
        .reserved(Bytes(20, 0))
        .settings(14, {"", "abc", "", "defgh", "", ""})
        .boxed_text(5.0f, 8.0f, 1.0f, 2, "Boxed")
        .wrapped_text(1.0f, 9.0f, 4.0f, 10.0f, "Wrapped text that runs over more than one line")
        .end_of_page(9);
    return page;
}

static void put(const std::string& dir, const std::string& name, const Bytes& bytes) {
    if (!write_file(dir + "/" + name, bytes)) std::fprintf(stderr, "cannot write %s\n", name.c_str());
}

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_fuzz_seeds DIR\n");
        return 2;
    }
    std::string dir = argv[1];

    DocumentPlan full;
    full.title = "Seed report";
    full.password = "secret7";
    full.initial_zoom = 0x200;
    full.pages.push_back(every_record().bytes());
    full.pages.push_back(PageBuilder(1, 1, 1).aligned_text(1, 1, 1, "Landscape").bytes());
    full.index = {{1, "First"}, {2, "Second"}, {2, ""}};
    full.has_email = true;
    full.email = {1, 0, "profile", "pw", "Ann;Bob", "a@x;b@x", "Subject", "Body"};
    full.has_fax = true;
    full.fax = {1, "profile", "pw", "FAX:1;FAX:2", "Fax subject", "Fax body"};
    full.labels = {{20, "Mot de passe"}, {11, "Page entiere"}};
    put(dir, "full.vel", write_document(full));

    DocumentPlan plain;
    plain.title = "Plain";
    plain.pages.push_back(PageBuilder().aligned_text(1, 1, 0, "Hello").bytes());
    put(dir, "plain.vel", write_document(plain));

    put(dir, "page-every-record.bin", every_record().bytes());
    return 0;
}
