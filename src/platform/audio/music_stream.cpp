// Music streams: libsndfile reading from memory, linear resampling to the
// output rate on a 32.32 cursor, and a loop that wraps inside the block without a gap.
#include <sndfile.h>

#include <algorithm>
#include <cstring>

#include "platform/audio/music.h"
#include "platform/audio/music_decoder.h"

namespace platform::music {
namespace {

struct Memory {
    std::vector<uint8_t> bytes;
    sf_count_t at = 0;
};

sf_count_t memoryLength(void* user) { return sf_count_t(static_cast<Memory*>(user)->bytes.size()); }

sf_count_t memorySeek(sf_count_t offset, int whence, void* user) {
    Memory& m = *static_cast<Memory*>(user);
    sf_count_t base = whence == SEEK_CUR ? m.at : whence == SEEK_END ? sf_count_t(m.bytes.size()) : 0;
    m.at = std::clamp<sf_count_t>(base + offset, 0, sf_count_t(m.bytes.size()));
    return m.at;
}

sf_count_t memoryRead(void* to, sf_count_t count, void* user) {
    Memory& m = *static_cast<Memory*>(user);
    sf_count_t n = std::clamp<sf_count_t>(sf_count_t(m.bytes.size()) - m.at, 0, count);
    std::memcpy(to, m.bytes.data() + m.at, size_t(n));
    m.at += n;
    return n;
}

sf_count_t memoryWrite(const void*, sf_count_t, void*) { return 0; }
sf_count_t memoryTell(void* user) { return static_cast<Memory*>(user)->at; }

SF_VIRTUAL_IO memoryIo{memoryLength, memorySeek, memoryRead, memoryWrite, memoryTell};

bool eightBit(int format) {
    int subtype = format & SF_FORMAT_SUBMASK;
    return subtype == SF_FORMAT_PCM_S8 || subtype == SF_FORMAT_PCM_U8;
}

class StreamDecoder : public Decoder {
public:
    StreamDecoder(std::unique_ptr<Memory> memory, SNDFILE* file, const SF_INFO& info, bool loop)
        : memory_(std::move(memory)), file_(file), info_(info), loop_(loop) {}
    ~StreamDecoder() override { sf_close(file_); }

    uint32_t render(int16_t* out, uint32_t frames, uint32_t outputRate) override {
        if (!primed_) prime();
        uint64_t step = (uint64_t(info_.samplerate) << 32) / outputRate;
        uint32_t done = 0;
        for (; done < frames && !ended_; ++done) {
            int64_t f = fraction_ >> 16;  // 16 bits of the fraction are plenty for the blend
            out[2 * done] = int16_t(current_[0] + ((next_[0] - current_[0]) * f >> 16));
            out[2 * done + 1] = int16_t(current_[1] + ((next_[1] - current_[1]) * f >> 16));
            fraction_ += step;
            for (; fraction_ >= (uint64_t(1) << 32); fraction_ -= uint64_t(1) << 32) advance();
        }
        return done;
    }

    void rewind() override {
        sf_seek(file_, 0, SEEK_SET);
        filled_ = used_ = 0;
        fraction_ = 0;
        primed_ = ended_ = finalFrame_ = false;
    }

    uint32_t sourceFlags() const override {
        return (eightBit(info_.format) ? kEightBitSource : 0) | (info_.channels == 1 ? kMonoSource : 0);
    }

private:
    static constexpr uint32_t kChunkFrames = 256;

    void prime() {
        primed_ = true;
        if (!pull(current_) || !pull(next_)) {
            // A one-frame file still plays its frame once.
            if (finalFrame_) std::copy(current_, current_ + 2, next_);
            else ended_ = true;
        }
    }

    void advance() {
        std::copy(next_, next_ + 2, current_);
        if (finalFrame_) {
            ended_ = true;
            return;
        }
        if (!pull(next_)) finalFrame_ = true;
    }

    // The next source frame as stereo; at the end of a looping file the first frame follows.
    bool pull(int32_t* frame) {
        if (used_ == filled_ && !refill()) return false;
        const int16_t* s = chunk_ + used_ * info_.channels;
        frame[0] = s[0];
        frame[1] = info_.channels == 2 ? s[1] : s[0];
        ++used_;
        return true;
    }

    bool refill() {
        used_ = 0;
        filled_ = uint32_t(sf_readf_short(file_, chunk_, kChunkFrames));
        if (filled_ == 0 && loop_ && info_.frames > 0) {
            sf_seek(file_, 0, SEEK_SET);
            filled_ = uint32_t(sf_readf_short(file_, chunk_, kChunkFrames));
        }
        return filled_ > 0;
    }

    std::unique_ptr<Memory> memory_;
    SNDFILE* file_;
    SF_INFO info_;
    bool loop_;
    int16_t chunk_[kChunkFrames * 2] = {};
    uint32_t filled_ = 0, used_ = 0;
    int32_t current_[2] = {}, next_[2] = {};
    uint64_t fraction_ = 0;
    bool primed_ = false, ended_ = false, finalFrame_ = false;
};

}  // namespace

std::unique_ptr<Decoder> openStreamDecoder(std::vector<uint8_t> bytes, bool loop) {
    auto memory = std::make_unique<Memory>();
    memory->bytes = std::move(bytes);
    SF_INFO info{};
    SNDFILE* file = sf_open_virtual(&memoryIo, SFM_READ, &info, memory.get());
    if (!file) return nullptr;
    if (info.channels < 1 || info.channels > 2 || info.samplerate <= 0) {
        sf_close(file);
        return nullptr;
    }
    return std::make_unique<StreamDecoder>(std::move(memory), file, info, loop);
}

}  // namespace platform::music
