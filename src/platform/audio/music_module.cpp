// Music modules: libopenmpt renders XM, MOD, S3M and IT from memory straight
// at the output rate; looping repeats forever inside the library, so the seam has no gap.
#include <libopenmpt/libopenmpt.h>

#include "platform/audio/music_decoder.h"

namespace platform::music {
namespace {

class ModuleDecoder : public Decoder {
public:
    explicit ModuleDecoder(openmpt_module* module) : module_(module) {}
    ~ModuleDecoder() override { openmpt_module_destroy(module_); }

    uint32_t render(int16_t* out, uint32_t frames, uint32_t outputRate) override {
        uint32_t done = 0;
        while (done < frames) {
            size_t n = openmpt_module_read_interleaved_stereo(module_, int32_t(outputRate), frames - done,
                                                              out + 2 * done);
            if (n == 0) break;
            done += uint32_t(n);
        }
        return done;
    }

    void rewind() override { openmpt_module_set_position_seconds(module_, 0.0); }
    uint32_t sourceFlags() const override { return 0; }  // rendered as 16-bit stereo

private:
    openmpt_module* module_;
};

}  // namespace

std::unique_ptr<Decoder> openModuleDecoder(std::vector<uint8_t> bytes, bool loop, bool ramping) {
    int error = 0;
    openmpt_module* module =
        openmpt_module_create_from_memory2(bytes.data(), bytes.size(), openmpt_log_func_default, nullptr,
                                           openmpt_error_func_ignore, nullptr, &error, nullptr, nullptr);
    if (!module) return nullptr;
    openmpt_module_set_repeat_count(module, loop ? -1 : 0);
    openmpt_module_set_render_param(module, OPENMPT_MODULE_RENDER_VOLUMERAMPING_STRENGTH, ramping ? -1 : 0);
    return std::make_unique<ModuleDecoder>(module);
}

}  // namespace platform::music
