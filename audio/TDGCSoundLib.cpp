#include "TDGCSoundLib.h"

#include "SoundError.h"

#include <algorithm>

namespace mirelo {

TDGCSoundLib::~TDGCSoundLib() {
    // A listener may unregister while being told, so walk a copy.
    const std::vector<Listener*> listeners = listeners_;
    for (Listener* l : listeners)
        l->SoundLibraryDestroyed(this);
}

void TDGCSoundLib::LoadFromFile(const std::string& fileName) {
    fileName_.clear();
    Sounds.LoadFromFile(fileName);
    fileName_ = fileName;
}

void TDGCSoundLib::Reload() {
    if (fileName_.empty())
        throw SoundError("LoadFromFile must be called first");
    LoadFromFile(std::string(fileName_));
}

void TDGCSoundLib::AddListener(Listener* listener) {
    if (std::find(listeners_.begin(), listeners_.end(), listener) == listeners_.end())
        listeners_.push_back(listener);
}

void TDGCSoundLib::RemoveListener(Listener* listener) {
    listeners_.erase(std::remove(listeners_.begin(), listeners_.end(), listener), listeners_.end());
}

} // namespace mirelo
