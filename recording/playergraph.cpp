#include "recording/playergraph.h"

#include <uuids.h>

#include <cwchar>

namespace {

// The WAVE parser, which the import library does not name.
const CLSID WaveParserClass = {
    0xD51BD5A1, 0x7548, 0x11CF, {0xA5, 0x20, 0x00, 0x80, 0xC7, 0x7E, 0xF5, 0x8A}
};

// The first pin of filter that runs in direction.
bool FirstPin(IBaseFilter* filter, PIN_DIRECTION direction, win::ComPtr<IPin>& pin) {
    win::ComPtr<IEnumPins> pins;
    if (FAILED(filter->EnumPins(pins.out()))) return false;
    IPin* candidate = nullptr;
    while (pins->Next(1, &candidate, nullptr) == S_OK) {
        PIN_DIRECTION its = PINDIR_INPUT;
        if (SUCCEEDED(candidate->QueryDirection(&its)) && its == direction) {
            *pin.out() = candidate;
            return true;
        }
        candidate->Release();
    }
    return false;
}

// Connects output to the parser and the parser to the renderer. The pins are let go before
// anything is removed: a parser frees its output pins when its input is disconnected.
bool JoinWave(IGraphBuilder* graph, IPin* output, IBaseFilter* parser, IBaseFilter* renderer) {
    win::ComPtr<IPin> parserInput;
    win::ComPtr<IPin> parserOutput;
    win::ComPtr<IPin> rendererInput;
    return FirstPin(parser, PINDIR_INPUT, parserInput) &&
           SUCCEEDED(graph->ConnectDirect(output, parserInput.get(), nullptr)) &&
           FirstPin(parser, PINDIR_OUTPUT, parserOutput) && FirstPin(renderer, PINDIR_INPUT, rendererInput) &&
           SUCCEEDED(graph->ConnectDirect(parserOutput.get(), rendererInput.get(), nullptr));
}

bool IsWebAddress(const wchar_t* address) { return std::wcsstr(address, L"://") != nullptr; }

}  // namespace

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
    // A file that is not there never reaches the graph: Wine's file source leaves a thread
    // running for every file it fails to open.
    if (!IsWebAddress(address) && GetFileAttributesW(address) == INVALID_FILE_ATTRIBUTES) return false;
    win::ComPtr<IBaseFilter> source;
    if (FAILED(graph_->AddSourceFilter(address, L"Source", source.out()))) return false;
    win::ComPtr<IPin> output;
    if (!FirstPin(source.get(), PINDIR_OUTPUT, output)) return false;
    return ConnectWave(output.get()) || SUCCEEDED(graph_->Render(output.get()));
}

bool PlayerGraph::AddFilter(const CLSID& kind, const wchar_t* name, win::ComPtr<IBaseFilter>& filter) {
    return SUCCEEDED(
               CoCreateInstance(kind, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, filter.out_void())) &&
           SUCCEEDED(graph_->AddFilter(filter.get(), name));
}

// A WAV stream is joined by hand to the WAVE parser and the audio renderer. The graph's own
// search for filters plays it as well, but under Wine it leaves some seventy registry keys
// open for every file it renders; other kinds of audio still need that search.
bool PlayerGraph::ConnectWave(IPin* output) {
    win::ComPtr<IBaseFilter> parser;
    win::ComPtr<IBaseFilter> renderer;
    if (AddFilter(WaveParserClass, L"Wave parser", parser) &&
        AddFilter(CLSID_DSoundRender, L"Audio renderer", renderer) &&
        JoinWave(graph_.get(), output, parser.get(), renderer.get()))
        return true;
    // Not a stream the parser and the renderer take: the graph goes back to the source alone
    // (removing a filter disconnects its pins).
    if (renderer.get()) graph_->RemoveFilter(renderer.get());
    if (parser.get()) graph_->RemoveFilter(parser.get());
    return false;
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
