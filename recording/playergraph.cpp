#include "recording/playergraph.h"

#include <uuids.h>

PlayerGraph::PlayerGraph() {
    if (FAILED(CoCreateInstance(
            CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder, graph_.out_void())))
        return;
    graph_->QueryInterface(IID_IMediaControl, control_.out_void());
    graph_->QueryInterface(IID_IMediaPosition, position_.out_void());
}

PlayerGraph::~PlayerGraph() {
    if (control_.get()) control_->Stop();
}

bool PlayerGraph::Open(const wchar_t* address) {
    if (!control_.get() || !position_.get() || !address || !*address) return false;
    BSTR name = SysAllocString(address);
    if (!name) return false;
    const HRESULT result = control_->RenderFile(name);
    SysFreeString(name);
    return SUCCEEDED(result);
}

double PlayerGraph::Duration() {
    REFTIME length = 0;
    if (!position_.get() || FAILED(position_->get_Duration(&length)) || !(length > 0)) return 0;
    return length;
}

void PlayerGraph::Run() {
    if (control_.get()) control_->Run();
}

void PlayerGraph::Stop() {
    if (!control_.get()) return;
    OAFilterState state = State_Stopped;
    control_->GetState(0, &state);
    if (state == State_Stopped) return;
    // Some graphs (Wine's) go back to the beginning when they stop: a stopped player keeps
    // its place, as Space and the seek keys expect.
    const double at = Position();
    control_->Stop();
    SetPosition(at);
}

double PlayerGraph::Position() {
    REFTIME now = 0;
    if (!position_.get() || FAILED(position_->get_CurrentPosition(&now))) return 0;
    return now;
}

void PlayerGraph::SetPosition(double seconds) {
    if (position_.get()) position_->put_CurrentPosition(seconds);
}
