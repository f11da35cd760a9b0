#pragma once

namespace mirelo {

// What the main window needs of sound and music. The full edition passes the
// real thing; the silent edition passes SilentSound and links no audio at all.
class SoundInterface {
public:
    virtual ~SoundInterface() = default;

    // Whether this edition has sound: the sound and music menu items, the Music
    // menu, the music control and the two settings keys exist only then.
    virtual bool HasSound() const = 0;

    // Plays effect 0 (tile accepted), 1 (pair removed) or 2 (refused) from its start.
    virtual void PlayEffect(int index) = 0;
};

inline constexpr int SoundAccepted = 0;
inline constexpr int SoundRemoved = 1;
inline constexpr int SoundRefused = 2;

class SilentSound final : public SoundInterface {
public:
    bool HasSound() const override { return false; }
    void PlayEffect(int) override {}
};

} // namespace mirelo
