#include "model/MacroCatalogueKeys.h"

#include "model/KeyCatalogue.h"

namespace kw::model {

namespace {

class CatalogueKeys final : public MacroKeyVocabulary {
public:
    MacroKeyUsage DeviceUsageOf(uint16_t keyId) const override {
        const DeviceUsage u = model::DeviceUsageOf(keyId);
        return {u.page, u.usage};
    }
    uint16_t KeyIdOfUsage(uint16_t page, uint16_t usage) const override { return model::KeyIdOfUsage(page, usage); }
    uint8_t ModifierBitOf(uint16_t keyId) const override { return model::ModifierBitOf(keyId); }
    uint16_t KeyIdOfModifierBits(uint8_t bits) const override { return model::KeyIdOfModifierBits(bits); }
};

}  // namespace

const MacroKeyVocabulary& CatalogueMacroKeys() {
    static const CatalogueKeys keys;
    return keys;
}

}  // namespace kw::model
