#pragma once

#include "TDGCSounds.h"

#include <string>
#include <vector>

namespace mirelo {

// Owns a sound collection and remembers the file it came from, if any. Players
// that refer to it register as listeners and hear when it goes away.
class TDGCSoundLib {
public:
    class Listener {
    public:
        virtual void SoundLibraryDestroyed(TDGCSoundLib* library) = 0;

    protected:
        ~Listener() = default;
    };

    TDGCSoundLib() = default;
    ~TDGCSoundLib();
    TDGCSoundLib(const TDGCSoundLib&) = delete;
    TDGCSoundLib& operator=(const TDGCSoundLib&) = delete;

    TDGCSounds Sounds;

    // Empty when the sounds came from memory (the game's embedded library).
    const std::string& FileName() const { return fileName_; }
    void LoadFromFile(const std::string& fileName);
    // Loads again from FileName; fails when nothing was loaded from a file.
    void Reload();
    int Count() const { return Sounds.Count(); }

    void AddListener(Listener* listener);
    void RemoveListener(Listener* listener);

private:
    std::string fileName_;
    std::vector<Listener*> listeners_;
};

} // namespace mirelo
