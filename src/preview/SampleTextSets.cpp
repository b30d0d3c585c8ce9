#include "SampleTextSets.h"

const char* SampleTextSetName(SampleTextSet set)
{
    switch (set) {
    case SampleTextSet::Shipped: return "Shipped";
    case SampleTextSet::Long: return "Long";
    case SampleTextSet::Short: return "Short";
    case SampleTextSet::Custom: return "Custom";
    }
    return "";
}

const TextLines& LongSampleTexts()
{
    static const TextLines texts = {
        "9999/9999",
        "SATURDAY MORNING KITCHEN RADIO", // 30, in capitals as phones list playlists
        "Maren Oakhurst & The Low Tides", // 30
        "Everything We Left Behind at Marrow Quay", // 40
        "Songs from the Lighthouse Roof", // 30
        "59:59",
        "59:59",
        "-59:59",
        "Equaliser",
        "Minimise",
    };
    return texts;
}

const TextLines& ShortSampleTexts()
{
    static const TextLines texts = {"1", "P", "A", "T", "B", "0:00", "0:00", "0:00", "M", "X"};
    return texts;
}
