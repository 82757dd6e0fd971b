// An output of the mixer: something that pulls mixed blocks at the mixing
// rate and hands them to a wave device. The engine owns one while started.
#pragma once

namespace kestrel::softmix {

class Mixer;

class Output {
public:
    virtual ~Output() = default;
    // The mixer's block length in interleaved 16-bit values for this output.
    virtual int BlockValues() const = 0;
    // Opens the device and starts pulling blocks from the mixer. False when
    // the output cannot run.
    virtual bool Start(Mixer& mixer) = 0;
    // Stops pulling blocks (no mixer call is made once it returns) and closes
    // the device.
    virtual void Close() = 0;
};

}  // namespace kestrel::softmix
