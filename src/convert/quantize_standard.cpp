// The standard method: colours in order of first appearance, merged within a distance threshold,
// and its precision search.
#include <algorithm>

#include "convert/colour_effects.h"
#include "convert/image_file.h"
#include "convert/quantize.h"
#include "convert/quantize_colour_cache.h"
#include "host/message_box.h"
#include "convert/convert_settings.h"
#include "host/host_services.h"
#include "script/settings.h"
#include "resources/texts.h"

namespace ts {

namespace {

struct StandardSetup {
    int effectiveLimit;
    uint32_t offset;
};

StandardSetup prepare(App& app, WorkingPalette& palette, const QuantizePositions& pos) {
    const bool zeroTransparent = currentDepthTraits(app).colourZeroTransparent;
    StandardSetup setup{pos.limit - (zeroTransparent ? 1 : 0), zeroTransparent ? 1u : 0u};
    const size_t needed = size_t(std::max({256, setup.effectiveLimit + 1, pos.newStart + 1}));
    if (palette.size() < needed) palette.resize(needed, 0);
    for (size_t i = size_t(std::max(pos.newStart, 0)); i < palette.size(); ++i) palette[i] = 0;
    return setup;
}

// Nearest entry from..to-1 within the threshold, improving on `best` (the winner of the entries
// before `from`); the higher index wins ties.
inline void searchRange(const uint32_t* palette, int from, int to, uint32_t colour, int64_t threshold,
                        int& best, uint32_t& bestDistance) {
    for (int i = from; i < to; ++i) {
        const uint32_t d = colourDistance(colour, palette[i]);
        if (int64_t(d) <= threshold && (best < 0 || d <= bestDistance)) {
            best = i;
            bestDistance = d;
        }
    }
}

// Stores in `image`, row by row, the index `assign(colour)` gives for the effect colour of each
// opaque source pixel; transparent pixels get the fill index. False as soon as `assign` gives a
// negative value (that pixel is left as it was).
template <class Assign>
inline bool assignPixels(App& app, IndexImage& image, const QuantizePositions& pos, Assign&& assign) {
    const EffectTables& tables = convertSettings(app).effects;
    for (int y = 0; y < image.height; ++y) {
        uint32_t* out = image.values.data() + size_t(y) * size_t(image.width);
        const SourceRow source = sourceRow(app, y, image.width);
        for (int x = 0; x < source.begin; ++x) out[x] = pos.fillIndex;
        for (int x = source.begin; x < source.end; ++x) {
            const uint32_t pixel = source.pixels[x + source.offset];
            if ((pixel >> 24) == 0) {
                out[x] = pos.fillIndex;
                continue;
            }
            const int64_t index = assign(effectColour(tables, pixel));
            if (index < 0) return false;
            out[x] = uint32_t(index);
        }
        for (int x = source.end; x < image.width; ++x) out[x] = pos.fillIndex;
    }
    return true;
}

struct CachedMatch {
    int32_t entry;       // -1: nothing within the threshold among the entries seen
    int32_t seenCount;   // entries s..seenCount-1 have been compared
    uint32_t distance;
};

}  // namespace

int quantizeStandard(App& app, IndexImage& image, WorkingPalette& palette, int threshold,
                     const QuantizePositions& pos) {
    const StandardSetup setup = prepare(app, palette, pos);
    int count = std::max(pos.newStart, 0);
    const int searchStart = std::max(pos.searchStart, 0);
    ColourCache<CachedMatch> cache;
    uint32_t* pal = palette.data();
    // The previous pixel's colour and index: the palette only grows when a colour is met that
    // nothing matches, so a repeated colour keeps the index it just received.
    bool haveLast = false;
    uint32_t lastColour = 0;
    int64_t lastIndex = 0;
    const bool complete = assignPixels(app, image, pos, [&](uint32_t colour) -> int64_t {
        if (haveLast && colour == lastColour) return lastIndex;
        bool inserted;
        CachedMatch& match = cache.find(colour, inserted);
        if (inserted) {
            match.entry = -1;
            match.seenCount = searchStart;
            match.distance = 0;
        }
        // Entries never change once appended, so only those added since the colour was last met
        // can change its match.
        if (match.seenCount < count) {
            int best = match.entry;
            uint32_t bestDistance = match.distance;
            searchRange(pal, std::max(match.seenCount, searchStart), count, colour, threshold, best, bestDistance);
            match.entry = best;
            match.distance = bestDistance;
        }
        if (match.entry < 0) {
            pal[count] = colour;
            match.entry = count;
            match.distance = 0;
            ++count;
            if (count > setup.effectiveLimit) return -1;
        }
        match.seenCount = std::max(count, searchStart);
        haveLast = true;
        lastColour = colour;
        lastIndex = int64_t(match.entry) + setup.offset;
        return lastIndex;
    });
    if (!complete) return -1;
    return convertSettings(app).useMaxColors ? setup.effectiveLimit : count;
}

int quantizeStandardNaive(App& app, IndexImage& image, WorkingPalette& palette, int threshold,
                          const QuantizePositions& pos) {
    const StandardSetup setup = prepare(app, palette, pos);
    int count = std::max(pos.newStart, 0);
    const int searchStart = std::max(pos.searchStart, 0);
    uint32_t* pal = palette.data();
    const bool complete = assignPixels(app, image, pos, [&](uint32_t colour) -> int64_t {
        int best = -1;
        uint32_t bestDistance = 0;
        searchRange(pal, searchStart, count, colour, threshold, best, bestDistance);
        if (best < 0) {
            pal[count] = colour;
            best = count++;
            if (count > setup.effectiveLimit) return -1;
        }
        return int64_t(best) + setup.offset;
    });
    if (!complete) return -1;
    return convertSettings(app).useMaxColors ? setup.effectiveLimit : count;
}

int binaryPrecisionSearch(int maxPrecision, const std::function<bool(int threshold)>& fits) {
    int lo = -1, hi = maxPrecision;
    int t = hi;
    for (;;) {
        if (fits(t)) hi = t;
        else lo = t;
        if (lo + 1 >= hi) break;
        t = (lo + hi) / 2;
    }
    return hi;
}

int quantizeStandardSearch(App& app, IndexImage& image, WorkingPalette& palette,
                           const QuantizePositions& pos, PrecisionSearch search) {
    int result = quantizeStandard(app, image, palette, 0, pos);
    if (result >= 0) return result;

    if (systemSettings(app).messages) {
        const bool binary = search == PrecisionSearch::Binary;
        const Answer answer =
            binary ? showBox(hostServices(app), tr(T::CaptionOops), tr(T::ImgTooManyColorsQuestion),
                             Icon::Information, Buttons::OkCancel, Answer::Ok)
                   : showBox(hostServices(app), tr(T::CaptionQuestion), tr(T::ImgBitmapTooManyColorsQuestion),
                             Icon::Question, Buttons::OkCancel, Answer::Ok);
        if (answer == Answer::Cancel) return 0;
    }
    hostServices(app).progress(tr(T::PleaseWait), 0.0);

    const int maxPrecision = convertSettings(app).maxPrecision;
    int threshold;
    if (search == PrecisionSearch::Binary) {
        threshold = binaryPrecisionSearch(
            maxPrecision, [&](int t) { return quantizeStandard(app, image, palette, t, pos) >= 0; });
    } else {
        int bestCount = -1;
        threshold = maxPrecision;
        for (int t = maxPrecision; t >= 0; --t) {
            const int r = quantizeStandard(app, image, palette, t, pos);
            if (r < 0) break;
            if (r > bestCount) {
                bestCount = r;
                threshold = t;
            }
        }
    }
    result = quantizeStandard(app, image, palette, threshold, pos);
    hostServices(app).progress(tr(T::PleaseWait), 1.0);
    if (result < 1) {
        showBox(hostServices(app), tr(T::CaptionOops), tr(T::ImgColorsCountUnreachable), Icon::Error);
        return 0;
    }
    return result;
}

}  // namespace ts
