#include "recording/playergraph.h"

#include <windows.h>
#include <control.h>
#include <strmif.h>
#include <uuids.h>

namespace {

template <class T>
void Release(T*& pointer) {
    if (pointer) pointer->Release();
    pointer = nullptr;
}

}  // namespace

PlayerGraph::PlayerGraph() {
    if (FAILED(CoCreateInstance(CLSID_FilterGraph,
                                nullptr,
                                CLSCTX_INPROC_SERVER,
                                IID_IGraphBuilder,
                                reinterpret_cast<void**>(&graph_))))
        return;
    if (FAILED(graph_->QueryInterface(IID_IMediaControl, reinterpret_cast<void**>(&control_))) ||
        FAILED(graph_->QueryInterface(IID_IMediaPosition, reinterpret_cast<void**>(&position_)))) {
        Release(position_);
        Release(control_);
        Release(graph_);
    }
}

PlayerGraph::~PlayerGraph() {
    if (control_) control_->Stop();
    Release(position_);
    Release(control_);
    Release(graph_);
}

bool PlayerGraph::Open(const wchar_t* address) {
    if (!control_ || !address || !*address) return false;
    BSTR name = SysAllocString(address);
    if (!name) return false;
    const HRESULT result = control_->RenderFile(name);
    SysFreeString(name);
    return SUCCEEDED(result);
}

double PlayerGraph::Duration() {
    REFTIME length = 0;
    if (!position_ || FAILED(position_->get_Duration(&length)) || !(length > 0)) return 0;
    return length;
}

void PlayerGraph::Run() {
    if (control_) control_->Run();
}

void PlayerGraph::Stop() {
    if (control_) control_->Stop();
}

double PlayerGraph::Position() {
    REFTIME now = 0;
    if (!position_ || FAILED(position_->get_CurrentPosition(&now))) return 0;
    return now;
}

void PlayerGraph::SetPosition(double seconds) {
    if (position_) position_->put_CurrentPosition(seconds);
}
