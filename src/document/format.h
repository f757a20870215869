// Fixed layout of a vell document: header field offsets and the sizes every
// reader and writer of the format agrees on. All integers little-endian.
#pragma once

#include <cstdint>

namespace vell {

constexpr int kHeaderSize = 260;
constexpr char kSignature[] = "300A";  // first four header bytes
constexpr int kMaxPages = 32767;       // page numbers are signed 16-bit
constexpr int kIndexNameSize = 100;    // document index names, cut to this
constexpr int kTitleSize = 100;
constexpr int kPasswordFieldSize = 20;
constexpr int kSettingsRecordSize = 20;  // show dialog .. last length, read whole
constexpr int kLabelOverrideThreshold = 32;  // positions at or below: absent

namespace hdr {
constexpr int kSignature = 0;         // 4 chars "300A"
constexpr int kTitle = 10;            // 100-byte fixed text
constexpr int kDeleteWhenClosed = 114;  // i16
constexpr int kEmbedded = 116;        // i16, 1 inside a self-extracting viewer
constexpr int kFaxAllowed = 120;      // i16
constexpr int kEmailAllowed = 122;    // i16
constexpr int kSaveAllowed = 124;     // i16
constexpr int kInitialZoom = 136;     // i32
constexpr int kPageCount = 140;       // i32
constexpr int kIndexCount = 144;      // i32
constexpr int kPageIndexPos = 148;    // i32, also the end of the last page
constexpr int kDocIndexPos = 152;     // i32
constexpr int kPasswordLength = 156;  // i16
constexpr int kPassword = 158;        // 20 bytes, enciphered
constexpr int kStubLength = 180;      // i32, inside a self-extracting viewer
constexpr int kLabel20 = 184;         // i32 positions of label override records
constexpr int kLabel21 = 188;
constexpr int kLabel22 = 192;
constexpr int kLabel23 = 196;
constexpr int kLabel19 = 200;
constexpr int kLabel18 = 204;
constexpr int kLabel11 = 208;
constexpr int kLabel12 = 212;
constexpr int kDisplayOption = 216;   // i32, 0x800: shrink below 100 %
constexpr int kFaxPos = 220;          // i32
constexpr int kEmailPos = 224;        // i32
constexpr int kCopyFlag = 232;        // i32
constexpr int kBuilderWindow = 236;   // i32
}  // namespace hdr

// Initial zoom codes of the header.
constexpr int32_t kZoomFitWindow = 0x80;
constexpr int32_t kZoom75 = 0x100;
constexpr int32_t kZoom100 = 0x200;
constexpr int32_t kZoom125 = 0x400;
constexpr int32_t kDisplayShrink = 0x800;

// Page bytes: a 2-byte leading word, the 10-byte page header, then records.
constexpr int kPageHeaderOffset = 2;
constexpr int kPageRecordsOffset = 12;

// Page record opcodes.
enum Opcode : int16_t {
    kOpEndOfPage = 1,
    kOpAlignedText = 2,
    kOpRotatedText = 3,
    kOpPageNumber = 4,
    kOpLine = 5,
    kOpBox = 6,
    kOpFont = 7,
    kOpPictureFile = 8,
    kOpEndOfPage2 = 9,
    kOpPageTotal = 10,
    kOpWindowLabel = 11,
    kOpEmbeddedPicture = 12,
    kOpReserved = 13,
    kOpSettings14 = 14,
    kOpSettings15 = 15,
    kOpBoxedText = 16,
    kOpWrappedText = 17,
};

// Self-extracting container trailer: i32 stub length then the marker.
constexpr char kSelfExtractMarker[] = "VELL_SELF_EXTRACT";
constexpr int kMarkerSize = 17;
constexpr int kTrailerSize = 21;

}  // namespace vell
