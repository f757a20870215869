// vellmake: compiles a JSON description of a document into a .vel file, or,
// with --exe, into a self-extracting viewer built on the given vell.exe.
//
// Nothing is written unless the whole description is valid: the document is
// composed in memory, written under a temporary name beside the output and
// renamed at the end, so a failed run leaves no output file behind.
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "document/container.h"
#include "document/file_io.h"
#include "document_json.h"
#include "json_text.h"
#include "vel_writer.h"
#include "vell_version.h"

namespace {

const char kUsage[] =
    "usage: vellmake input.json output.vel [--exe vell.exe]\n"
    "       vellmake --help | --version\n"
    "Compiles a JSON description of a document (docs/document-json.md) into a\n"
    "vell document; with --exe, into a self-extracting viewer whose program\n"
    "part is the given vell.exe.\n";

int fail(const std::string& message) {
    std::fprintf(stderr, "vellmake: %s\n", message.c_str());
    return 1;
}

// A name beside target that no file has yet.
std::string temporary_name(const std::string& target) {
    for (int n = 1;; ++n) {
        std::string name = target + ".part" + std::to_string(n);
        std::error_code ec;  // a folder that cannot be read: writing will say so
        if (!std::filesystem::exists(name, ec)) return name;
    }
}

// Replaces target by the finished file.
bool move_into_place(const std::string& from, const std::string& target) {
    std::error_code ec;
    std::filesystem::rename(from, target, ec);
    if (ec) {
        std::filesystem::remove(target, ec);
        std::filesystem::rename(from, target, ec);
    }
    return !ec;
}

const char* build_failure(int16_t status) {
    switch (status) {
    case vell::kBuildNoStub: return "cannot open the stub file";
    case vell::kBuildNoOutput:
    case vell::kBuildOutputExists: return "cannot create the self-extracting viewer";
    default: return "cannot read the document it had just written";
    }
}

int write_output(const vell::Bytes& doc, const std::string& output, const std::string& stub) {
    const std::string vel = temporary_name(output);
    if (!vell::write_file(vel, doc)) {
        vell::delete_file(vel);
        return fail("cannot write " + output);
    }
    if (stub.empty()) {
        if (move_into_place(vel, output)) return 0;
        vell::delete_file(vel);
        return fail("cannot write " + output);
    }
    const std::string exe = temporary_name(output);
    const int16_t status = vell::build_self_extracting(vel, stub, exe);
    vell::delete_file(vel);
    if (status != vell::kBuildOk) {
        vell::delete_file(exe);
        return fail(std::string(build_failure(status)) + " (status " + std::to_string(status) + "; stub " +
                    stub + ")");
    }
    if (move_into_place(exe, output)) return 0;
    vell::delete_file(exe);
    return fail("cannot write " + output);
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> files;
    std::string stub;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "-h" || arg == "--help") {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (arg == "--version") {
            std::puts("vellmake " VELL_VERSION);
            return 0;
        }
        if (arg == "--exe") {
            if (i + 1 >= argc) return fail("--exe needs the path of vell.exe");
            stub = argv[++i];
        } else {
            files.push_back(arg);
        }
    }
    if (files.size() != 2) {
        std::fputs(kUsage, stderr);
        return 1;
    }
    const std::string& input = files[0];
    const std::string& output = files[1];
    if (!stub.empty() && !vell::file_exists(stub)) return fail("cannot find the stub file " + stub);

    vell::Bytes source;
    if (!vell::read_file(input, &source)) return fail("cannot read " + input);
    vell::json::Parsed description;
    vell::json::ParseError parse_error;
    if (!vell::json::parse(std::string(source.begin(), source.end()), &description, &parse_error)) {
        vell::DescriptionError e{parse_error.where, "", parse_error.message};
        std::fprintf(stderr, "%s\n", vell::format_error(input, e).c_str());
        return 1;
    }

    vell::Bytes doc;
    std::vector<vell::DescriptionError> warnings;
    try {
        doc = vell::compile_document(description.root, &description.places,
                                     std::filesystem::path(input).parent_path().string(), &warnings);
    } catch (const vell::DescriptionError& e) {
        std::fprintf(stderr, "%s\n", vell::format_error(input, e).c_str());
        return 1;
    }
    for (vell::DescriptionError& w : warnings) {
        w.message = "warning: " + w.message;
        std::fprintf(stderr, "%s\n", vell::format_error(input, w).c_str());
    }
    return write_output(doc, output, stub);
}
