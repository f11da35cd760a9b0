#pragma once

namespace mirelo {

class SoundInterface;

// Starts the program with the given edition's sound and runs it to the end.
int RunMirelo(int argc, char** argv, SoundInterface& sound);

} // namespace mirelo
