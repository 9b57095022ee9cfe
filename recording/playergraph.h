// The DirectShow filter graph that plays one audio address for the player thread: the
// graph builder and, from it, the media control and media position interfaces. The thread
// that makes a PlayerGraph has initialised COM and is the only one to use it; the
// destructor releases the three interfaces.
#pragma once

#include <control.h>
#include <strmif.h>

#include "recording/player.h"
#include "win/handles.h"

class PlayerGraph : public PlayerMedia {
  public:
    PlayerGraph();
    ~PlayerGraph() override;  // stops the playback; the pointers release themselves
    PlayerGraph(const PlayerGraph&) = delete;
    PlayerGraph& operator=(const PlayerGraph&) = delete;

    // Builds the graph that renders the address (a file path or, where the platform's
    // source filters take them, an http(s) address). False when the graph could not be
    // made or the address not rendered; the graph then plays nothing.
    bool Open(const wchar_t* address);

    // The length in seconds, 0 when it is not known.
    double Duration();

    void Run() override;
    void Stop() override;  // keeps the position
    double Position() override;
    void SetPosition(double seconds) override;

  private:
    bool AddFilter(const CLSID& kind, const wchar_t* name, win::ComPtr<IBaseFilter>& filter);
    bool ConnectWave(IPin* output);

    win::ComPtr<IGraphBuilder> graph_;
    win::ComPtr<IMediaControl> control_;
    win::ComPtr<IMediaPosition> position_;
};
