// MenuTemplateFuzz.cpp - the menu template walk, nested as the owner-drawn
// menu nests it: popups open a level, an item marked last closes levels.
#include "widgets/MenuTemplateReader.h"

#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    MenuTemplateReader reader(data, size);
    if (!reader.Valid())
        return 0;
    std::vector<bool> finished{false};
    size_t items = 0;
    MenuTemplateReader::Item item;
    while (!finished.empty() && reader.Next(&item)) {
        // Every item takes at least two bytes of the template.
        if (++items > size / 2)
            std::abort();
        bool last = (item.flags & MenuTemplateReader::kEnd) != 0;
        if (item.flags & MenuTemplateReader::kPopup) {
            if (item.id != 0)
                std::abort();
            if (last)
                finished.back() = true;
            finished.push_back(false);
        } else if (last) {
            finished.back() = true;
            while (!finished.empty() && finished.back())
                finished.pop_back();
        }
    }
    return 0;
}
