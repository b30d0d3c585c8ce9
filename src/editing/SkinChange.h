#pragma once
// What one change of the skin touched, as the session's Changed tells its views.
#include <algorithm>
#include <string>
#include <vector>

struct SkinChange {
    bool opened = false;           // a whole skin came in (or its load failed)
    std::vector<std::string> keys; // elements whose line changed
    std::vector<int> pictures;     // pictures whose file changed
    bool Touches(const std::string& key) const
    {
        return opened || std::find(keys.begin(), keys.end(), key) != keys.end();
    }
    bool TouchesPicture(int number) const
    {
        return opened || std::find(pictures.begin(), pictures.end(), number) != pictures.end();
    }
    bool Empty() const { return !opened && keys.empty() && pictures.empty(); }
};
