// Profile files from anywhere: the reader and the import check must stay inside the bytes they get,
// refuse without touching the store, and whatever they accept must write back to an image that
// reads and writes again unchanged.
#include "model/ProfileFile.h"

#include <cstdlib>
#include <cstring>

#include "tests/model/ProfileFakeFiles.h"

namespace {

using namespace kw::model;

void Require(bool condition) {
    if (!condition) std::abort();
}

const std::wstring kPath = L"/local/fuzz.kwp";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> bytes(data, size);
    ProfileParse parse = ParseProfileImage(bytes);
    Require((parse.fault == ProfileFault::None) == (parse.contents != nullptr));

    kw::model::testing::MemoryProfileFiles files;
    files.files[kPath].assign(data, data + size);
    ConfigStore store;
    CreateDefaultProfile(store);
    const ProfileResult imported = ImportProfileFile(store, kPath, {}, files);
    Require(imported.Ok() == (parse.fault == ProfileFault::None));
    if (!imported.Ok()) {
        Require(store.macros.Count() == 0 && store.texts.TotalBytes() == 0);
        Require(!imported.messages.empty());
        return 0;
    }
    Require(store.macros.Count() <= kMaxMacros);

    const std::vector<uint8_t> first = BuildProfileImage(store);
    ProfileParse again = ParseProfileImage(first);
    Require(again.fault == ProfileFault::None);
    ConfigStore second;
    second.configuration = again.contents->configuration;
    second.texts = std::move(again.contents->texts);
    Require(second.macros.Replace(std::move(again.contents->macros)));
    Require(BuildProfileImage(second) == first);
    return 0;
}
