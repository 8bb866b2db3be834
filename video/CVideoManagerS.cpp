#include "CVideoManagerS.h"

#include "CScopedLock.h"

CVideoManagerS::CVideoManagerS(IVideoEngine& engine, std::unique_ptr<IDatagramSocket> socket)
    : CNamedThread("CVideoManagerS"), m_engine(engine), m_queue(QUEUE_BUFFERS),
      m_socket(std::move(socket))
{
    InitializeCriticalSection(&m_captureLock);
    InitializeCriticalSection(&m_rateLock);
    InitializeCriticalSection(&m_recordLock);
}

CVideoManagerS::~CVideoManagerS()
{
    StopCapture();
    DeleteCriticalSection(&m_recordLock);
    DeleteCriticalSection(&m_rateLock);
    DeleteCriticalSection(&m_captureLock);
}

DRAVO_CAPTURE_PARAMS CVideoManagerS::GetParams()
{
    CScopedLock lock(&m_rateLock);
    return m_rate.Params();
}

void CVideoManagerS::SwitchEncoding()
{
    const DRAVO_HANDLE capture = m_capture;
    if (capture)
        m_engine.EnableEncode(capture, (m_sending || m_recordFlag) ? 1 : 0);
}

void CVideoManagerS::ApplyParams()
{
    CScopedLock capture(&m_captureLock);
    m_applyPending = false;
    DRAVO_CAPTURE_PARAMS params = GetParams();
    m_engine.SetCaptureParams(m_capture, &params);
}

bool CVideoManagerS::TryApplyParams()
{
    if (!TryEnterCriticalSection(&m_captureLock))
        return false;
    if (m_capture) {
        DRAVO_CAPTURE_PARAMS params = GetParams();
        m_engine.SetCaptureParams(m_capture, &params);
    }
    LeaveCriticalSection(&m_captureLock);
    return true;
}

int CVideoManagerS::StartCapture(int device, int encoder, int encodeMode, int kbitPerSecond,
                                 int width, int height)
{
    {
        CScopedLock capture(&m_captureLock);
        DRAVO_CAPTURE_PARAMS p;
        {
            CScopedLock rate(&m_rateLock);
            DRAVO_CAPTURE_PARAMS& params = m_rate.Params();
            params.device = device;
            params.width = width;
            params.height = height;
            params.input = 0;
            params.encoder = encoder;
            params.encodeMode = encodeMode;
            m_rate.SetBitRate(kbitPerSecond);
            p = params;
        }
        // The engine is called with the rate lock free: its thread takes that
        // lock in the frame callback, maybe while holding a lock of its own
        // that these calls need.
        m_applyPending = false;
        if (!m_capture) {
            m_capture = m_engine.OpenCapture(&p, this, &CVideoManagerS::FrameCallback);
            if (!m_capture)
                return 0;
            m_engine.SetCaptureOverlay(m_capture, m_overlay);
        } else if (!m_engine.SetCaptureParams(m_capture, &p)) {
            return 0;
        }
        if (m_previewActive) {
            StopPreview();
            StartPreview(m_previewWord, m_previewWindow, m_previewMessage);
            m_render = 1;
            m_engine.SetPreviewRender(m_capture, m_preview, 1);
            m_engine.SetPreviewPos(m_capture, m_preview, &m_previewRect);
        }
        SwitchEncoding();
    }
    return 1;
}

int CVideoManagerS::StartPreview(WPARAM word, HWND window, UINT message)
{
    if (m_previewActive)
        StopPreview();
    DRAVO_HANDLE preview;
    {
        CScopedLock lock(&m_captureLock);
        preview = m_engine.StartPreview(m_capture, window);
        m_preview = preview;
    }
    if (window && IsWindow(window))
        PostMessageA(window, message, word, 0);
    m_previewActive = preview != 0;
    m_previewWord = word;
    m_previewWindow = window;
    m_previewMessage = message;
    return m_previewActive ? 1 : 0;
}

void CVideoManagerS::StopPreview()
{
    CScopedLock lock(&m_captureLock);
    if (m_preview)
        m_engine.StopPreview(m_capture, m_preview);
    m_preview = 0;
    m_previewActive = 0;
}

void CVideoManagerS::SetPreviewPos(const RECT& rect)
{
    m_previewRect = rect;
    CScopedLock lock(&m_captureLock);
    m_engine.SetPreviewPos(m_capture, m_preview, &m_previewRect);
}

int CVideoManagerS::SetRender(int value)
{
    m_render = value;
    return m_engine.SetPreviewRender(m_capture, m_preview, value);
}

int CVideoManagerS::StartSend(uint32_t streamId, const char* address, int port)
{
    uint32_t host = 0;
    if (!CVideoUdpSocket::ParseAddress(address, host))
        return 0;
    m_streamId = streamId;
    if (m_socket.Open(10000, 0) != CVideoUdpSocket::OK)
        return 0;
    // A start that fails after the port was bound gives the port back, so
    // that the next try can succeed.
    m_stopSend = 0;
    if (m_socket.AddDestination(host, static_cast<uint16_t>(port)) != CVideoUdpSocket::OK ||
        !Start()) {
        m_socket.Close();
        return 0;
    }
    m_sending = 1;
    SwitchEncoding();
    return 1;
}

void CVideoManagerS::StopSend()
{
    m_stopSend = 1;
    // Wake the send thread at once with an empty entry; it also looks at
    // the stop flag on its own every few milliseconds.
    if (GetHandle()) {
        if (CQueueBuffer* b = m_queue.GetFree(0)) {
            b->SetLength(0);
            m_queue.PutFilled(b);
        }
    }
    Stop();
    m_socket.Close();
    m_sending = 0;
    SwitchEncoding();
}

void CVideoManagerS::StopCapture()
{
    {
        CScopedLock lock(&m_captureLock);
        DRAVO_HANDLE capture = m_capture;
        if (capture)
            m_engine.CloseCapture(&capture);
        m_capture = 0;
    }
    StopPreview();
    StopSend();
}

void CVideoManagerS::SetRecord(int flag, void* userData, DravomRecordCallback callback)
{
    {
        CScopedLock lock(&m_recordLock);
        m_recordUser = userData;
        m_recordCallback = callback;
        m_recordFlag = flag;
    }
    SwitchEncoding();
}

void CVideoManagerS::EnableOverlay(int flag)
{
    m_engine.EnableOverlay(flag);
    m_overlay = flag;
    m_engine.SetCaptureOverlay(m_capture, flag);
}

void CVideoManagerS::ShowPropertyPage(HWND owner)
{
    CScopedLock lock(&m_captureLock);
    m_engine.ShowPropertyPage(m_capture, owner);
}

int CVideoManagerS::SetVideoSourceIndex(int index)
{
    CScopedLock lock(&m_captureLock);
    {
        CScopedLock rate(&m_rateLock);
        m_rate.Params().input = index;
    }
    return m_engine.SetVideoSource(m_capture, index);
}

int CVideoManagerS::GetVideoSources(std::vector<std::string>& names)
{
    names.clear();
    CScopedLock lock(&m_captureLock);
    if (!m_capture)
        return 0;
    const int count = m_engine.GetVideoSourceCount(m_capture);
    for (int i = 0; i < count; ++i) {
        char name[260] = {0};
        if (m_engine.GetVideoSourceName(m_capture, i, name, sizeof name)) {
            name[sizeof name - 1] = 0;
            names.push_back(name);
        }
    }
    return static_cast<int>(names.size());
}

int CVideoManagerS::SavePicture(const char* argument)
{
    CScopedLock lock(&m_captureLock);
    return m_engine.SavePreviewPicture(m_capture, m_preview, argument);
}

void CVideoManagerS::SetBitRate(int kbitPerSecond)
{
    {
        CScopedLock rate(&m_rateLock);
        m_rate.SetBitRate(kbitPerSecond);
    }
    ApplyParams();
}

void CVideoManagerS::SetVideoWidth(int oldWidth, int newWidth)
{
    bool changed;
    {
        CScopedLock rate(&m_rateLock);
        changed = m_rate.SetVideoWidth(oldWidth, newWidth);
    }
    if (changed)
        ApplyParams();
}

int __cdecl CVideoManagerS::FrameCallback(void* context, const unsigned char* frame, int length,
                                          int flag)
{
    CVideoManagerS* self = static_cast<CVideoManagerS*>(context);
    return self ? self->OnEncodedFrame(frame, length, flag) : length;
}

int CVideoManagerS::OnEncodedFrame(const uint8_t* frame, int length, int flag)
{
    if (!frame || length < 1)
        return length;
    bool apply = m_applyPending;
    {
        CScopedLock rate(&m_rateLock);
        if (m_rate.Params().encodeMode == 0 &&
            m_rate.Adapt(static_cast<uint32_t>(length), m_tick()))
            apply = true;
    }
    if (apply)
        m_applyPending = !TryApplyParams();

    if (flag & 0xFF)
        m_queue.Discard(QUEUE_BUFFERS);

    {
        CScopedLock lock(&m_recordLock);
        if (m_previewActive && m_recordFlag && m_recordCallback)
            m_recordCallback(m_recordUser, frame, length);
    }

    // An entry that could never be sent is not queued.
    if (static_cast<uint32_t>(length) + 4 > static_cast<uint32_t>(MAX_ENTRY) ||
        !m_queue.Push(m_streamId, frame, static_cast<uint32_t>(length)))
        ++m_framesDropped;
    return length;
}

uint32_t CVideoManagerS::Run()
{
    while (!m_stopSend) {
        CQueueBuffer* b = m_queue.GetFilled(50);
        if (!b)
            continue;
        const uint32_t length = b->GetLength();
        if (length >= 1 && length <= 65536 && b->GetData())
            m_socket.Send(b->GetData(), static_cast<int>(length), VideoWire::PAYLOAD_TYPE, 0,
                          VideoWire::TIMESTAMP_STEP);
        b->SetLength(0);
        m_queue.PutFree(b);
    }
    return EXIT_CODE;
}
