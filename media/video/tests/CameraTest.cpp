#include <gtest/gtest.h>

#include "C301PCamera.h"
#include "CClientSettings.h"
#include "CDlgPanTiltSettings.h"
#include "CHexSerialCamera.h"
#include "CSerialCamera.h"
#include "CTestKit.h"
#include "CZxDllCamera.h"
#include "CameraModels.h"
#include "MediaVideoResource.h"
#include "VideoControl_Dlg.h"
#include "VideoTestKit.h"

#include <deque>
#include <fstream>
#include <memory>
#include <sstream>

using namespace videotest;

namespace {
// A serial control that keeps what the camera back-ends set and write,
// and answers with the bytes a test queues.
struct SerialRecord
{
    std::vector<std::string> settings;
    std::vector<std::string> frames;
    std::deque<std::vector<uint8_t>> replies;
    UINT controlId = 0;
};
SerialRecord g_serial;

std::string Hex(const uint8_t* bytes, size_t length)
{
    std::string text;
    char two[4];
    for (size_t i = 0; i < length; ++i) {
        snprintf(two, sizeof(two), "%02X", bytes[i]);
        text += two;
    }
    return text;
}

class CFakeSerial : public CSerialControl
{
public:
    BOOL CreateControl(CWnd* parent, UINT id) override
    {
        g_serial.controlId = id;
        return CSerialControl::CreateControl(parent, id);
    }
    void SetCommPort(int port) override { Note("CommPort " + std::to_string(port)); }
    void SetInBufferSize(int size) override { Note("InBufferSize " + std::to_string(size)); }
    void SetOutBufferSize(int size) override { Note("OutBufferSize " + std::to_string(size)); }
    BOOL GetPortOpen() const override { return m_open; }
    BOOL SetPortOpen(BOOL open) override
    {
        Note("PortOpen " + std::to_string(open));
        m_open = open;
        return TRUE;
    }
    void SetInputMode(int mode) override { Note("InputMode " + std::to_string(mode)); }
    BOOL SetSettings(const char* settings) override
    {
        Note(std::string("Settings ") + settings);
        return TRUE;
    }
    void SetRThreshold(int value) override { Note("RThreshold " + std::to_string(value)); }
    void SetInputLen(int value) override { Note("InputLen " + std::to_string(value)); }
    void SetHandshaking(int value) override { Note("Handshaking " + std::to_string(value)); }
    BOOL Output(const uint8_t* bytes, int length) override
    {
        g_serial.frames.push_back(Hex(bytes, length));
        if (!g_serial.replies.empty()) {
            m_pending = g_serial.replies.front();
            g_serial.replies.pop_front();
        }
        return TRUE;
    }
    int GetInBufferCount() override { return (int)m_pending.size(); }
    std::vector<uint8_t> Input() override
    {
        std::vector<uint8_t> bytes;
        bytes.swap(m_pending);
        return bytes;
    }

private:
    static void Note(const std::string& text) { g_serial.settings.push_back(text); }
    BOOL m_open = FALSE;
    std::vector<uint8_t> m_pending;
};

CSerialControl* MakeFake() { return new CFakeSerial; }

struct CameraFixture : ::testing::Test
{
    CTopWindow top;
    void SetUp() override
    {
        g_serial = SerialRecord();
        CSerialControl::SetFactory(&MakeFake);
        ASSERT_TRUE(top.Make(200, 200));
    }
    void TearDown() override { CSerialControl::SetFactory(nullptr); }
    std::unique_ptr<CCameraController> Make(int type)
    {
        std::unique_ptr<CCameraController> camera(MakeCameraBackEnd(type));
        EXPECT_TRUE(camera && camera->Create(&top));
        camera->Open(1);
        g_serial.frames.clear();
        g_serial.settings.clear();
        return camera;
    }
    static void Run(CCameraController* camera, const std::string& ops)
    {
        for (char op : ops) {
            switch (op) {
            case 'L':
                camera->Left();
                break;
            case 'R':
                camera->Right();
                break;
            case 'U':
                camera->Up();
                break;
            case 'D':
                camera->Down();
                break;
            case 'I':
                camera->ZoomIn();
                break;
            case 'O':
                camera->ZoomOut();
                break;
            case 'S':
                camera->Stop();
                break;
            }
        }
    }
    static std::string Frames()
    {
        std::string text;
        for (auto& f : g_serial.frames)
            text += (text.empty() ? "" : "|") + f;
        return text;
    }
};

std::string Ascii(const char* text, size_t length)
{
    return Hex(reinterpret_cast<const uint8_t*>(text), length);
}
} // namespace

TEST_F(CameraFixture, SerialBackEndsWriteTheirFrames)
{
    struct Case
    {
        int type;
        const char* ops;
        std::string frames;
    } cases[] = {
        // VISCA: each frame with a trailing 00; one movement until Stop.
        {0, "L", "8101060103100103FF00"},
        {0, "R", "8101060103100203FF00"},
        {0, "U", "8101060103030301FF00"},
        {0, "D", "8101060103030302FF00"},
        {0, "I", "8101040702FF00"},
        {0, "O", "8101040703FF00"},
        {0, "LLRS", "8101060103100103FF00|8101060110100303FF00"},
        {0, "ILS", "8101040702FF00|8101060103100103FF00|8101060110100303FF00|8101040700FF00"},
        {0, "S", ""},
        // Pelco-D with the checksum of bytes 1 to 5.
        {5, "L", "FF000004200024"},
        {5, "R", "FF000002200022"},
        {5, "U", "FF000008002028"},
        {5, "D", "FF000010002030"},
        {5, "I", "FF000400000004"},
        {5, "O", "FF000200000002"},
        {5, "UDS", "FF000008002028|FF000000000000"},
        // 0xFA frames; Stop always sends its one frame.
        {4, "L", "FA03000060005D"},
        {4, "R", "FA04000060005E"},
        {4, "U", "FA01000060005B"},
        {4, "D", "FA02000060005C"},
        {4, "I", "FA0C0000600066"},
        {4, "O", "FA0B0000600065"},
        {4, "S", "FA01000000007B"},
        {4, "LIS", "FA03000060005D|FA0C0000600066|FA01000000007B"},
        // FF 30 30 00 .. .. EF with the prepare pair and the release frame.
        {6, "L", "FF3030009030EF|FF303000A031EF|FF3030005332EF"},
        {6, "R", "FF3030009030EF|FF303000A031EF|FF3030005331EF"},
        {6, "U", "FF3030009030EF|FF303000A031EF|FF3030005333EF"},
        {6, "D", "FF3030009030EF|FF303000A031EF|FF3030005334EF"},
        {6, "IS", "FF3030009030EF|FF303000A031EF|FF303000A232EF|FF303000A230EF|FF3030009031EF"},
        {6, "O", "FF3030009030EF|FF303000A031EF|FF303000A231EF"},
        {6, "LLS", "FF3030009030EF|FF303000A031EF|FF3030005332EF|FF3030005330EF|FF3030009031EF"},
        {6, "S", "FF3030009031EF"},
        // ASCII requests with their hex checksum; every command goes out.
        {3, "I", Ascii("*00750200B8", 11)},
        {3, "O", Ascii("*00750400BA", 11)},
        {3, "S", Ascii("*00750900BF", 11)},
        {3, "L",
         Hex((const uint8_t*)"*006\x03"
                             "002\x00"
                             "55",
             11)},
        {3, "U",
         Hex((const uint8_t*)"*006\x01"
                             "2\x00"
                             "0053",
             11)},
    };
    for (const Case& c : cases) {
        auto camera = Make(c.type);
        Run(camera.get(), c.ops);
        EXPECT_EQ(c.frames, Frames()) << "type " << c.type << " " << c.ops;
    }
}

TEST_F(CameraFixture, OpenSetsUpThePortOnce)
{
    std::unique_ptr<CCameraController> camera(MakeCameraBackEnd(0));
    ASSERT_TRUE(camera->Create(&top));
    EXPECT_EQ(10000u, g_serial.controlId);
    EXPECT_TRUE(camera->Open(2));
    std::vector<std::string> expected = {"CommPort 2",   "InBufferSize 1024", "OutBufferSize 512",
                                         "PortOpen 1",   "InputMode 1",       "Settings 9600,n,8,1",
                                         "RThreshold 1", "InputLen 0"};
    EXPECT_EQ(expected, g_serial.settings);
    g_serial.settings.clear();
    EXPECT_TRUE(camera->Open(2));
    EXPECT_TRUE(camera->Open(3));
    EXPECT_TRUE(camera->Open(0));
    EXPECT_TRUE(g_serial.settings.empty());
    EXPECT_EQ(2, static_cast<CSerialCamera*>(camera.get())->GetPort());
    EXPECT_TRUE(camera->Open(1));
    EXPECT_EQ("PortOpen 0", g_serial.settings.at(0));

    std::unique_ptr<CCameraController> hex(MakeCameraBackEnd(3));
    g_serial.settings.clear();
    ASSERT_TRUE(hex->Create(&top));
    EXPECT_EQ(99999u, g_serial.controlId);
    hex->Open(1);
    std::vector<std::string> hexExpected = {
        "CommPort 1",   "InBufferSize 512", "OutBufferSize 512",
        "PortOpen 1",   "InputMode 1",      "Settings 9600, n , 8, 1",
        "RThreshold 0", "InputLen 0",       "Handshaking 1"};
    EXPECT_EQ(hexExpected, g_serial.settings);
}

TEST_F(CameraFixture, AsciiRequestsCheckTheReply)
{
    auto camera = Make(3);
    auto bytes = [](const char* text) { return std::vector<uint8_t>(text, text + strlen(text)); };
    struct Case
    {
        std::vector<uint8_t> reply;
        BOOL result;
    } cases[] = {
        {bytes("*00750200B8"), TRUE},   // checksum right
        {bytes("*00750200B9"), FALSE},  // checksum wrong
        {bytes("*0075"), FALSE},        // too short
        {bytes("*00750200B8XY"), TRUE}, // longer: ten bytes and a status byte kept
        {{}, FALSE},                    // no answer within 200 ms
    };
    for (const Case& c : cases) {
        g_serial.replies.clear();
        if (!c.reply.empty())
            g_serial.replies.push_back(c.reply);
        EXPECT_EQ(c.result, camera->ZoomIn()) << std::string(c.reply.begin(), c.reply.end());
    }
    g_serial.replies.push_back(bytes("*00750200B8XY"));
    camera->ZoomIn();
    EXPECT_EQ(11u, static_cast<CHexSerialCamera*>(camera.get())->GetReply().size());
    EXPECT_EQ("B8", CHexSerialCamera::Checksum((const uint8_t*)"*00750200"));
}

namespace {
struct LibraryFixture : ::testing::Test
{
    std::string log;
    void SetUp() override
    {
        char folder[MAX_PATH], file[MAX_PATH];
        ::GetTempPathA(MAX_PATH, folder);
        ::GetTempFileNameA(folder, "cam", 0, file);
        log = file;
        ::SetEnvironmentVariableA("HALVERN_CAMERA_LOG", log.c_str());
    }
    void TearDown() override
    {
        ::SetEnvironmentVariableA("HALVERN_CAMERA_LOG", NULL);
        ::DeleteFileA(log.c_str());
    }
    std::vector<std::string> Lines()
    {
        std::ifstream in(log);
        std::vector<std::string> lines;
        std::string line;
        while (std::getline(in, line)) {
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            lines.push_back(line);
        }
        return lines;
    }
};
} // namespace

TEST_F(LibraryFixture, ZxLibraryGetsCommandAndDeviceIndex)
{
    g_Settings.videoCaptureDev = 3;
    {
        CZxDllCamera camera;
        ASSERT_TRUE(camera.IsLoaded());
        EXPECT_TRUE(camera.Left());
        EXPECT_TRUE(camera.Right());
        EXPECT_TRUE(camera.Up());
        EXPECT_TRUE(camera.Down());
        EXPECT_TRUE(camera.ZoomIn());
        camera.Stop();
    }
    std::vector<std::string> expected = {"CDll ZX_Control 2 3", "CDll ZX_Control 3 3",
                                         "CDll ZX_Control 0 3", "CDll ZX_Control 1 3"};
    EXPECT_EQ(expected, Lines());
    g_Settings.videoCaptureDev = 0;
    CZxDllCamera missing("NoSuchCamera.dll");
    EXPECT_FALSE(missing.Left());
}

TEST_F(LibraryFixture, Library301POpensTheCameraBeforeEachMove)
{
    {
        C301PCamera camera;
        ASSERT_TRUE(camera.IsLoaded());
        EXPECT_TRUE(camera.Left());
        EXPECT_TRUE(camera.Down());
        EXPECT_TRUE(camera.ZoomIn());
        camera.Stop();
    }
    std::vector<std::string> expected = {"CDLL_301P GetCamNum", "CDLL_301P GetCamName 0",
                                         "CDLL_301P OpenCam 0", "CDLL_301P MotoLeft",
                                         "CDLL_301P GetCamNum", "CDLL_301P GetCamName 0",
                                         "CDLL_301P OpenCam 0", "CDLL_301P MotoDown"};
    EXPECT_EQ(expected, Lines());
    // A library without the functions, and none at all: no move, no crash.
    C301PCamera other("CDll.dll");
    EXPECT_TRUE(other.IsLoaded());
    EXPECT_FALSE(other.Left());
    C301PCamera missing("NoSuchCamera.dll");
    EXPECT_FALSE(missing.Up());
}

TEST_F(CameraFixture, FactoryBuildsTheModelsControllers)
{
    const char* names[] = {"EVI_D31", "SU_301P", "VIDEOTREC_PWT", "VC_C50i"};
    const uint32_t types[] = {0, 2, 4, 6};
    for (int i = 0; i < CAMERA_MODEL_COUNT; ++i) {
        EXPECT_STREQ(names[i], g_CameraModels[i].name);
        EXPECT_EQ(types[i], g_CameraModels[i].type);
    }
    EXPECT_EQ(nullptr, CreateCameraController(-1, &top));
    EXPECT_EQ(nullptr, CreateCameraController(4, &top));
    EXPECT_EQ(nullptr, MakeCameraBackEnd(7));
    std::unique_ptr<CCameraController> visca(CreateCameraController(0, &top));
    ASSERT_NE(nullptr, visca);
    visca->Open(1);
    g_serial.frames.clear();
    visca->Up();
    EXPECT_EQ("8101060103030301FF00", Frames());
    // A serial control that cannot be made fails the creation.
    EXPECT_EQ(nullptr, CreateCameraController(2 + 1, nullptr));
}

namespace {
struct PanelFixture : CameraFixture
{
    CTestHost host;
    CMeeting meeting{1001, 2};
    VideoControl_Dlg panel;
    void SetUp() override
    {
        CameraFixture::SetUp();
        meeting.Add(2002, "bob");
        g_Settings.cameraType = 0;
        g_Settings.videoControlPort = 1;
        panel.SetCreateController(TRUE);
        ASSERT_TRUE(panel.Create(&top));
        panel.SetHoldInterval(600000); // ticks come from the test
        panel.ShowWindow(SW_SHOWNOACTIVATE);
        host.panel = &panel;
        g_serial.frames.clear();
    }
    void TearDown() override
    {
        panel.DestroyWindow();
        CameraFixture::TearDown();
    }
    HWND Button(UINT id) { return panel.GetDlgItem(id)->m_hWnd; }
    void Press(UINT id)
    {
        CTestKit::PostMouse(Button(id), WM_LBUTTONDOWN, CPoint(3, 3), MK_LBUTTON);
        CTestKit::PumpUntil([&] { return panel.GetHeldCommand() >= 0; }, 3000);
    }
    void Release(UINT id)
    {
        CTestKit::PostMouse(Button(id), WM_LBUTTONUP, CPoint(3, 3));
        CTestKit::PumpUntil([&] { return panel.GetHeldCommand() < 0; }, 3000);
        CTestKit::PumpPending();
    }
};
} // namespace

TEST_F(PanelFixture, HeldButtonRepeatsForARemoteCamera)
{
    panel.SetTarget(2002);
    Press(IDC_CAMERA_LEFT);
    EXPECT_EQ(1, panel.GetHeldCommand());
    panel.HoldTick();
    panel.HoldTick();
    panel.HoldTick();
    Release(IDC_CAMERA_LEFT);
    std::vector<std::vector<uint8_t>> expected = {
        {0xD2, 1}, {0xD2, 1}, {0xD2, 1}, {0xD2, 1}, {0xD2, 0}};
    EXPECT_EQ(expected, host.cameraCommands);
    EXPECT_TRUE(g_serial.frames.empty()); // nothing moves locally
}

TEST_F(PanelFixture, HeldButtonMovesTheLocalCameraOnce)
{
    panel.SetTarget(-1);
    Press(IDC_CAMERA_ZOOM_IN);
    panel.HoldTick();
    panel.HoldTick();
    Release(IDC_CAMERA_ZOOM_IN);
    EXPECT_EQ("8101040702FF00|8101040700FF00", Frames());
    EXPECT_TRUE(host.cameraCommands.empty());
}

TEST_F(PanelFixture, RemoteCommandsDriveTheLocalCamera)
{
    panel.OnRemoteCommand(nullptr, 0);
    uint8_t right = 2, nine = 9;
    panel.OnRemoteCommand(&right, 0); // no byte: no command
    EXPECT_TRUE(g_serial.frames.empty());
    panel.OnRemoteCommand(&right, 1);
    panel.OnRemoteCommand(&nine, 1);
    EXPECT_EQ("8101060103100203FF00|8101060110100303FF00", Frames());
}

TEST_F(PanelFixture, SetModelReplacesTheControllerOnlyOnAChange)
{
    EXPECT_EQ(0, panel.GetModel());
    EXPECT_EQ(1, panel.GetPort());
    CCameraController* first = panel.GetController();
    ASSERT_NE(nullptr, first);
    panel.SetModel(0);
    EXPECT_EQ(first, panel.GetController());
    g_serial.settings.clear();
    panel.SetModel(2);
    EXPECT_EQ(2, panel.GetModel());
    ASSERT_NE(nullptr, panel.GetController());
    EXPECT_EQ("CommPort 1", g_serial.settings.at(0)); // the kept port opened on it
    g_serial.frames.clear();
    panel.ExecuteCommand(3);
    EXPECT_EQ("FA01000060005B", Frames());
}

TEST_F(PanelFixture, WithoutControllerPressesDoNothing)
{
    VideoControl_Dlg bare;
    g_Settings.cameraType = 9; // outside the table: no controller
    bare.SetCreateController(TRUE);
    ASSERT_TRUE(bare.Create(&top));
    EXPECT_EQ(nullptr, bare.GetController());
    bare.SendCommand(1);
    bare.StopCamera();
    EXPECT_TRUE(g_serial.frames.empty());
    bare.DestroyWindow();
    g_Settings.cameraType = 0;
}

TEST_F(PanelFixture, PanTiltSettingsStoreAndApplyWhatChanged)
{
    g_Settings.videoControlPort = 3;
    g_Settings.cameraType = 0;
    CDlgPanTiltSettings settings;
    ASSERT_TRUE(settings.Create(&top));
    CComboBox* port = (CComboBox*)settings.GetPage().GetDlgItem(IDC_CAMERA_PORT_LIST);
    CComboBox* model = (CComboBox*)settings.GetPage().GetDlgItem(IDC_CAMERA_MODEL_LIST);
    CString text;
    port->GetLBText(port->GetCurSel(), text);
    EXPECT_STREQ("COM1:", text);
    EXPECT_EQ(1u, g_Settings.videoControlPort);
    EXPECT_EQ(4, model->GetCount());
    CCameraController* before = panel.GetController();
    g_serial.settings.clear();
    settings.SendMessage(WM_COMMAND, IDOK, 0); // nothing changed
    EXPECT_EQ(before, panel.GetController());
    EXPECT_TRUE(g_serial.settings.empty());
    EXPECT_FALSE(settings.IsWindowVisible());
    port->SetCurSel(1);
    model->SetCurSel(3);
    settings.SendMessage(WM_COMMAND, IDOK, 0);
    EXPECT_EQ(2u, g_Settings.videoControlPort);
    EXPECT_EQ(3u, g_Settings.cameraType);
    EXPECT_EQ(2, panel.GetPort());
    EXPECT_EQ(3, panel.GetModel());
    ASSERT_NE(nullptr, panel.GetController());
    g_serial.frames.clear();
    panel.ExecuteCommand(3); // the new model's frames
    EXPECT_EQ("FF3030009030EF|FF303000A031EF|FF3030005333EF", Frames());
    settings.DestroyWindow();
    g_Settings.videoControlPort = 1;
    g_Settings.cameraType = 0;
}
