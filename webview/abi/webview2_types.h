#pragma once
// The plain types of the browser runtime's interfaces: enumerations, structures and
// forward declarations of every interface. Part of webview/abi/WebView2.h; include that
// header rather than this one.

#include <eventtoken.h>  // EventRegistrationToken: one INT64 `value`
#include <oaidl.h>       // VARIANT
#include <objidl.h>      // IStream
#include <unknwn.h>      // IUnknown
#include <windows.h>

// Enumerations are 32 bits wide in the interfaces; a fixed underlying type keeps them so
// whatever their values. The bit sets (the *_KINDS and *_ITEMS enumerations) combine
// with | and & as with the runtime's own header.

enum COREWEBVIEW2_WEB_ERROR_STATUS : INT32 {
  COREWEBVIEW2_WEB_ERROR_STATUS_UNKNOWN = 0,
  COREWEBVIEW2_WEB_ERROR_STATUS_CERTIFICATE_COMMON_NAME_IS_INCORRECT = 1,
  COREWEBVIEW2_WEB_ERROR_STATUS_CERTIFICATE_EXPIRED = 2,
  COREWEBVIEW2_WEB_ERROR_STATUS_CLIENT_CERTIFICATE_CONTAINS_ERRORS = 3,
  COREWEBVIEW2_WEB_ERROR_STATUS_CERTIFICATE_REVOKED = 4,
  COREWEBVIEW2_WEB_ERROR_STATUS_CERTIFICATE_IS_INVALID = 5,
  COREWEBVIEW2_WEB_ERROR_STATUS_SERVER_UNREACHABLE = 6,
  COREWEBVIEW2_WEB_ERROR_STATUS_TIMEOUT = 7,
  COREWEBVIEW2_WEB_ERROR_STATUS_ERROR_HTTP_INVALID_SERVER_RESPONSE = 8,
  COREWEBVIEW2_WEB_ERROR_STATUS_CONNECTION_ABORTED = 9,
  COREWEBVIEW2_WEB_ERROR_STATUS_CONNECTION_RESET = 10,
  COREWEBVIEW2_WEB_ERROR_STATUS_DISCONNECTED = 11,
  COREWEBVIEW2_WEB_ERROR_STATUS_CANNOT_CONNECT = 12,
  COREWEBVIEW2_WEB_ERROR_STATUS_HOST_NAME_NOT_RESOLVED = 13,
  COREWEBVIEW2_WEB_ERROR_STATUS_OPERATION_CANCELED = 14,
  COREWEBVIEW2_WEB_ERROR_STATUS_REDIRECT_FAILED = 15,
  COREWEBVIEW2_WEB_ERROR_STATUS_UNEXPECTED_ERROR = 16,
  COREWEBVIEW2_WEB_ERROR_STATUS_VALID_AUTHENTICATION_CREDENTIALS_REQUIRED = 17,
  COREWEBVIEW2_WEB_ERROR_STATUS_VALID_PROXY_AUTHENTICATION_REQUIRED = 18,
};

enum COREWEBVIEW2_PERMISSION_KIND : INT32 {
  COREWEBVIEW2_PERMISSION_KIND_UNKNOWN_PERMISSION = 0,
  COREWEBVIEW2_PERMISSION_KIND_MICROPHONE = 1,
  COREWEBVIEW2_PERMISSION_KIND_CAMERA = 2,
  COREWEBVIEW2_PERMISSION_KIND_GEOLOCATION = 3,
  COREWEBVIEW2_PERMISSION_KIND_NOTIFICATIONS = 4,
  COREWEBVIEW2_PERMISSION_KIND_OTHER_SENSORS = 5,
  COREWEBVIEW2_PERMISSION_KIND_CLIPBOARD_READ = 6,
  COREWEBVIEW2_PERMISSION_KIND_MULTIPLE_AUTOMATIC_DOWNLOADS = 7,
  COREWEBVIEW2_PERMISSION_KIND_FILE_READ_WRITE = 8,
  COREWEBVIEW2_PERMISSION_KIND_AUTOPLAY = 9,
  COREWEBVIEW2_PERMISSION_KIND_LOCAL_FONTS = 10,
  COREWEBVIEW2_PERMISSION_KIND_MIDI_SYSTEM_EXCLUSIVE_MESSAGES = 11,
  COREWEBVIEW2_PERMISSION_KIND_WINDOW_MANAGEMENT = 12,
};

enum COREWEBVIEW2_PERMISSION_STATE : INT32 {
  COREWEBVIEW2_PERMISSION_STATE_DEFAULT = 0,
  COREWEBVIEW2_PERMISSION_STATE_ALLOW = 1,
  COREWEBVIEW2_PERMISSION_STATE_DENY = 2,
};

enum COREWEBVIEW2_WEB_RESOURCE_CONTEXT : INT32 {
  COREWEBVIEW2_WEB_RESOURCE_CONTEXT_ALL = 0,
  COREWEBVIEW2_WEB_RESOURCE_CONTEXT_DOCUMENT = 1,
  COREWEBVIEW2_WEB_RESOURCE_CONTEXT_STYLESHEET = 2,
  COREWEBVIEW2_WEB_RESOURCE_CONTEXT_IMAGE = 3,
  COREWEBVIEW2_WEB_RESOURCE_CONTEXT_MEDIA = 4,
  COREWEBVIEW2_WEB_RESOURCE_CONTEXT_FONT = 5,
  COREWEBVIEW2_WEB_RESOURCE_CONTEXT_SCRIPT = 6,
  COREWEBVIEW2_WEB_RESOURCE_CONTEXT_XML_HTTP_REQUEST = 7,
  COREWEBVIEW2_WEB_RESOURCE_CONTEXT_FETCH = 8,
  COREWEBVIEW2_WEB_RESOURCE_CONTEXT_TEXT_TRACK = 9,
  COREWEBVIEW2_WEB_RESOURCE_CONTEXT_EVENT_SOURCE = 10,
  COREWEBVIEW2_WEB_RESOURCE_CONTEXT_WEBSOCKET = 11,
  COREWEBVIEW2_WEB_RESOURCE_CONTEXT_MANIFEST = 12,
  COREWEBVIEW2_WEB_RESOURCE_CONTEXT_SIGNED_EXCHANGE = 13,
  COREWEBVIEW2_WEB_RESOURCE_CONTEXT_PING = 14,
  COREWEBVIEW2_WEB_RESOURCE_CONTEXT_CSP_VIOLATION_REPORT = 15,
  COREWEBVIEW2_WEB_RESOURCE_CONTEXT_OTHER = 16,
};

enum COREWEBVIEW2_WEB_RESOURCE_REQUEST_SOURCE_KINDS : UINT32 {
  COREWEBVIEW2_WEB_RESOURCE_REQUEST_SOURCE_KINDS_NONE = 0x0,
  COREWEBVIEW2_WEB_RESOURCE_REQUEST_SOURCE_KINDS_DOCUMENT = 0x1,
  COREWEBVIEW2_WEB_RESOURCE_REQUEST_SOURCE_KINDS_SHARED_WORKER = 0x2,
  COREWEBVIEW2_WEB_RESOURCE_REQUEST_SOURCE_KINDS_SERVICE_WORKER = 0x4,
  COREWEBVIEW2_WEB_RESOURCE_REQUEST_SOURCE_KINDS_ALL = 0xFFFFFFFF,
};
DEFINE_ENUM_FLAG_OPERATORS(COREWEBVIEW2_WEB_RESOURCE_REQUEST_SOURCE_KINDS)

enum COREWEBVIEW2_PRINT_STATUS : INT32 {
  COREWEBVIEW2_PRINT_STATUS_SUCCEEDED = 0,
  COREWEBVIEW2_PRINT_STATUS_PRINTER_UNAVAILABLE = 1,
  COREWEBVIEW2_PRINT_STATUS_OTHER_ERROR = 2,
};

enum COREWEBVIEW2_PDF_TOOLBAR_ITEMS : UINT32 {
  COREWEBVIEW2_PDF_TOOLBAR_ITEMS_NONE = 0x0,
  COREWEBVIEW2_PDF_TOOLBAR_ITEMS_SAVE = 0x1,
  COREWEBVIEW2_PDF_TOOLBAR_ITEMS_PRINT = 0x2,
  COREWEBVIEW2_PDF_TOOLBAR_ITEMS_SAVE_AS = 0x4,
  COREWEBVIEW2_PDF_TOOLBAR_ITEMS_ZOOM_IN = 0x8,
  COREWEBVIEW2_PDF_TOOLBAR_ITEMS_ZOOM_OUT = 0x10,
  COREWEBVIEW2_PDF_TOOLBAR_ITEMS_ROTATE = 0x20,
  COREWEBVIEW2_PDF_TOOLBAR_ITEMS_FIT_PAGE = 0x40,
  COREWEBVIEW2_PDF_TOOLBAR_ITEMS_PAGE_LAYOUT = 0x80,
  COREWEBVIEW2_PDF_TOOLBAR_ITEMS_BOOKMARKS = 0x100,
  COREWEBVIEW2_PDF_TOOLBAR_ITEMS_PAGE_SELECTOR = 0x200,
  COREWEBVIEW2_PDF_TOOLBAR_ITEMS_SEARCH = 0x400,
  COREWEBVIEW2_PDF_TOOLBAR_ITEMS_FULL_SCREEN = 0x800,
  COREWEBVIEW2_PDF_TOOLBAR_ITEMS_MORE_SETTINGS = 0x1000,
};
DEFINE_ENUM_FLAG_OPERATORS(COREWEBVIEW2_PDF_TOOLBAR_ITEMS)

enum COREWEBVIEW2_BROWSER_PROCESS_EXIT_KIND : INT32 {
  COREWEBVIEW2_BROWSER_PROCESS_EXIT_KIND_NORMAL = 0,
  COREWEBVIEW2_BROWSER_PROCESS_EXIT_KIND_FAILED = 1,
};

// Which of the browser's processes failed (the view's ProcessFailed event).
enum COREWEBVIEW2_PROCESS_FAILED_KIND : INT32 {
  COREWEBVIEW2_PROCESS_FAILED_KIND_BROWSER_PROCESS_EXITED = 0,
  COREWEBVIEW2_PROCESS_FAILED_KIND_RENDER_PROCESS_EXITED = 1,
  COREWEBVIEW2_PROCESS_FAILED_KIND_RENDER_PROCESS_UNRESPONSIVE = 2,
  COREWEBVIEW2_PROCESS_FAILED_KIND_FRAME_RENDER_PROCESS_EXITED = 3,
  COREWEBVIEW2_PROCESS_FAILED_KIND_UTILITY_PROCESS_EXITED = 4,
  COREWEBVIEW2_PROCESS_FAILED_KIND_SANDBOX_HELPER_PROCESS_EXITED = 5,
  COREWEBVIEW2_PROCESS_FAILED_KIND_GPU_PROCESS_EXITED = 6,
  COREWEBVIEW2_PROCESS_FAILED_KIND_PPAPI_PLUGIN_PROCESS_EXITED = 7,
  COREWEBVIEW2_PROCESS_FAILED_KIND_PPAPI_BROKER_PROCESS_EXITED = 8,
  COREWEBVIEW2_PROCESS_FAILED_KIND_UNKNOWN_PROCESS_EXITED = 9,
};

// Enumerations that only appear as parameters of methods the program does not call:
// declared without their values.
enum COREWEBVIEW2_BOUNDS_MODE : INT32;
enum COREWEBVIEW2_CAPTURE_PREVIEW_IMAGE_FORMAT : INT32;
enum COREWEBVIEW2_DEFAULT_DOWNLOAD_DIALOG_CORNER_ALIGNMENT : INT32;
enum COREWEBVIEW2_FAVICON_IMAGE_FORMAT : INT32;
enum COREWEBVIEW2_HOST_RESOURCE_ACCESS_KIND : INT32;
enum COREWEBVIEW2_MEMORY_USAGE_TARGET_LEVEL : INT32;
enum COREWEBVIEW2_MOVE_FOCUS_REASON : INT32;
enum COREWEBVIEW2_PRINT_COLLATION : INT32;
enum COREWEBVIEW2_PRINT_COLOR_MODE : INT32;
enum COREWEBVIEW2_PRINT_DIALOG_KIND : INT32;
enum COREWEBVIEW2_PRINT_DUPLEX : INT32;
enum COREWEBVIEW2_PRINT_MEDIA_SIZE : INT32;
enum COREWEBVIEW2_PRINT_ORIENTATION : INT32;
enum COREWEBVIEW2_SHARED_BUFFER_ACCESS : INT32;

// A colour as the controller takes it: one byte each, in this order.
struct COREWEBVIEW2_COLOR {
  BYTE A;
  BYTE R;
  BYTE G;
  BYTE B;
};

// Every interface declared in the parts of WebView2.h, so that each part can name the
// others.
struct ICoreWebView2_2;
struct ICoreWebView2_3;
struct ICoreWebView2_4;
struct ICoreWebView2_5;
struct ICoreWebView2_6;
struct ICoreWebView2_7;
struct ICoreWebView2_8;
struct ICoreWebView2_9;
struct ICoreWebView2_10;
struct ICoreWebView2_11;
struct ICoreWebView2_12;
struct ICoreWebView2_13;
struct ICoreWebView2_14;
struct ICoreWebView2_15;
struct ICoreWebView2_16;
struct ICoreWebView2_17;
struct ICoreWebView2_18;
struct ICoreWebView2_19;
struct ICoreWebView2_20;
struct ICoreWebView2_21;
struct ICoreWebView2_22;
struct ICoreWebView2;
struct ICoreWebView2AddScriptToExecuteOnDocumentCreatedCompletedHandler;
struct ICoreWebView2BrowserProcessExitedEventArgs;
struct ICoreWebView2BrowserProcessExitedEventHandler;
struct ICoreWebView2Controller;
struct ICoreWebView2Controller2;
struct ICoreWebView2Controller3;
struct ICoreWebView2Controller4;
struct ICoreWebView2CreateCoreWebView2ControllerCompletedHandler;
struct ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler;
struct ICoreWebView2Environment;
struct ICoreWebView2Environment2;
struct ICoreWebView2Environment3;
struct ICoreWebView2Environment4;
struct ICoreWebView2Environment5;
struct ICoreWebView2Environment6;
struct ICoreWebView2EnvironmentOptions;
struct ICoreWebView2HttpRequestHeaders;
struct ICoreWebView2NavigationCompletedEventArgs;
struct ICoreWebView2NavigationCompletedEventHandler;
struct ICoreWebView2NavigationStartingEventArgs;
struct ICoreWebView2NavigationStartingEventHandler;
struct ICoreWebView2NewWindowRequestedEventArgs;
struct ICoreWebView2NewWindowRequestedEventHandler;
struct ICoreWebView2PermissionRequestedEventArgs;
struct ICoreWebView2PermissionRequestedEventHandler;
struct ICoreWebView2PrintCompletedHandler;
struct ICoreWebView2PrintSettings;
struct ICoreWebView2PrintSettings2;
struct ICoreWebView2ProcessFailedEventArgs;
struct ICoreWebView2ProcessFailedEventHandler;
struct ICoreWebView2Settings;
struct ICoreWebView2Settings2;
struct ICoreWebView2Settings3;
struct ICoreWebView2Settings4;
struct ICoreWebView2Settings5;
struct ICoreWebView2Settings6;
struct ICoreWebView2Settings7;
struct ICoreWebView2WebMessageReceivedEventArgs;
struct ICoreWebView2WebMessageReceivedEventHandler;
struct ICoreWebView2WebResourceRequest;
struct ICoreWebView2WebResourceRequestedEventArgs;
struct ICoreWebView2WebResourceRequestedEventHandler;
struct ICoreWebView2WebResourceResponse;

// Interfaces that only appear as parameters of methods the program does not call: the
// program passes them on at most and never calls them, so they are not declared further.
struct ICoreWebView2AcceleratorKeyPressedEventHandler;
struct ICoreWebView2BasicAuthenticationRequestedEventHandler;
struct ICoreWebView2CallDevToolsProtocolMethodCompletedHandler;
struct ICoreWebView2CapturePreviewCompletedHandler;
struct ICoreWebView2ClearServerCertificateErrorActionsCompletedHandler;
struct ICoreWebView2ClientCertificateRequestedEventHandler;
struct ICoreWebView2ContainsFullScreenElementChangedEventHandler;
struct ICoreWebView2ContentLoadingEventHandler;
struct ICoreWebView2ContextMenuRequestedEventHandler;
struct ICoreWebView2CookieManager;
struct ICoreWebView2CreateCoreWebView2CompositionControllerCompletedHandler;
struct ICoreWebView2DOMContentLoadedEventHandler;
struct ICoreWebView2Deferral;
struct ICoreWebView2DevToolsProtocolEventReceiver;
struct ICoreWebView2DocumentTitleChangedEventHandler;
struct ICoreWebView2DownloadStartingEventHandler;
struct ICoreWebView2ExecuteScriptCompletedHandler;
struct ICoreWebView2ExecuteScriptWithResultCompletedHandler;
struct ICoreWebView2FaviconChangedEventHandler;
struct ICoreWebView2FocusChangedEventHandler;
struct ICoreWebView2FrameCreatedEventHandler;
struct ICoreWebView2GetFaviconCompletedHandler;
struct ICoreWebView2HistoryChangedEventHandler;
struct ICoreWebView2HttpHeadersCollectionIterator;
struct ICoreWebView2HttpResponseHeaders;
struct ICoreWebView2IsDefaultDownloadDialogOpenChangedEventHandler;
struct ICoreWebView2IsDocumentPlayingAudioChangedEventHandler;
struct ICoreWebView2IsMutedChangedEventHandler;
struct ICoreWebView2LaunchingExternalUriSchemeEventHandler;
struct ICoreWebView2MoveFocusRequestedEventHandler;
struct ICoreWebView2NewBrowserVersionAvailableEventHandler;
struct ICoreWebView2PointerInfo;
struct ICoreWebView2PrintToPdfCompletedHandler;
struct ICoreWebView2PrintToPdfStreamCompletedHandler;
struct ICoreWebView2Profile;
struct ICoreWebView2RasterizationScaleChangedEventHandler;
struct ICoreWebView2ScriptDialogOpeningEventHandler;
struct ICoreWebView2ServerCertificateErrorDetectedEventHandler;
struct ICoreWebView2SharedBuffer;
struct ICoreWebView2SourceChangedEventHandler;
struct ICoreWebView2StatusBarTextChangedEventHandler;
struct ICoreWebView2TrySuspendCompletedHandler;
struct ICoreWebView2WebResourceResponseReceivedEventHandler;
struct ICoreWebView2WindowCloseRequestedEventHandler;
struct ICoreWebView2WindowFeatures;
struct ICoreWebView2ZoomFactorChangedEventHandler;
