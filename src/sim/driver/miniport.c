/* TEST FIXTURE, LOADED ONLY BY WINE. Never shipped, never installed by the setup program.
 *
 * The simulated adapters' miniport, stood in at the driver: a kernel-mode driver that Wine's
 * winedevice.exe hosts. It creates the device each adapter of wlansim's world is opened by
 * ("\\.\" + NetCfgInstanceId) and the bridge's control device "\\.\XBRG", and relays every
 * open and every I/O control to wlansim over loopback TCP, in the frames of the simulator's host
 * protocol (src/sim/protocol/host_protocol.h). A Windows kernel would refuse to load it: it
 * imports ws2_32, which only Wine lets a driver do.
 *
 * It makes its devices when it starts: one per adapter plugged in and the bridge's when the
 * bridge is there. Wine opens a device whatever its driver answers to the open, so an unplug or
 * a replug restarts the driver (src/sim/install/platform_install.cpp, "devices"); a pulled
 * card's device is then gone, and a request on a handle to it fails.
 *
 * wlansim's port is the DWORD "Port" of the service key's Parameters, written at install by
 * src/sim/install/platform_install.cpp. Requests complete at once. */
#include <ntddk.h>

/* The few Winsock calls the relay needs (winsock2.h does not mix with the kernel headers). */
typedef UINT_PTR SOCKET;
#define INVALID_SOCKET ((SOCKET)~0)
struct in_addr4 {
  ULONG s_addr;
};
struct sockaddr_in4 {
  USHORT sin_family;
  USHORT sin_port;
  struct in_addr4 sin_addr;
  char sin_zero[8];
};
__declspec(dllimport) int __stdcall WSAStartup(USHORT version, void* data);
__declspec(dllimport) int __stdcall WSACleanup(void);
__declspec(dllimport) SOCKET __stdcall socket(int af, int type, int protocol);
__declspec(dllimport) int __stdcall connect(SOCKET s, const void* name, int length);
__declspec(dllimport) int __stdcall send(SOCKET s, const char* data, int length, int flags);
__declspec(dllimport) int __stdcall recv(SOCKET s, char* data, int length, int flags);
__declspec(dllimport) int __stdcall setsockopt(SOCKET s, int level, int name, const char* value, int length);
__declspec(dllimport) int __stdcall closesocket(SOCKET s);

enum { kCmdDeviceOpen = 1, kCmdDeviceControl = 2, kCmdEnumerate = 3 };
#define MAX_FRAME (1u << 20)
#define MAX_DEVICES 8

typedef struct {
  char path[96];  /* as the program names it: \\.\{GUID} */
  WCHAR link[96]; /* \DosDevices\{GUID} */
} DEVICE_EXTENSION;

static USHORT relayPort;

/* ---- little-endian records ------------------------------------------------------------------ */

typedef struct {
  UCHAR* data;
  ULONG size, at;
  BOOLEAN ok;
} BUF;

static void PutU8(BUF* b, UCHAR v) {
  if (b->at + 1 > b->size) {
    b->ok = FALSE;
    return;
  }
  b->data[b->at++] = v;
}
static void PutU32(BUF* b, ULONG v) {
  int i;
  for (i = 0; i < 4; ++i) PutU8(b, (UCHAR)(v >> (8 * i)));
}
static void PutBytes(BUF* b, const void* p, ULONG n) {
  PutU32(b, n);
  if (b->at + n > b->size) {
    b->ok = FALSE;
    return;
  }
  if (n) RtlCopyMemory(b->data + b->at, p, n);
  b->at += n;
}
static UCHAR GetU8(BUF* b) {
  if (b->at + 1 > b->size) {
    b->ok = FALSE;
    return 0;
  }
  return b->data[b->at++];
}
static ULONG GetU32(BUF* b) {
  ULONG v = 0;
  int i;
  for (i = 0; i < 4; ++i) v |= (ULONG)GetU8(b) << (8 * i);
  return v;
}
/* A length-prefixed block, left in place: its start, or NULL when the record is short. */
static const UCHAR* GetBytes(BUF* b, ULONG* n) {
  const UCHAR* p;
  *n = GetU32(b);
  if (!b->ok || *n > b->size - b->at) {
    b->ok = FALSE;
    return NULL;
  }
  p = b->data + b->at;
  b->at += *n;
  return p;
}

/* ---- the connection to wlansim ---------------------------------------------------------------- */

/* Each request has a connection of its own: requests may come on several threads at once, and
 * loopback connections are cheap. */
static BOOLEAN SendAll(SOCKET s, const UCHAR* p, ULONG n) {
  while (n) {
    int sent = send(s, (const char*)p, (int)n, 0);
    if (sent <= 0) return FALSE;
    p += sent;
    n -= (ULONG)sent;
  }
  return TRUE;
}
static BOOLEAN RecvAll(SOCKET s, UCHAR* p, ULONG n) {
  while (n) {
    int got = recv(s, (char*)p, (int)n, 0);
    if (got <= 0) return FALSE;
    p += got;
    n -= (ULONG)got;
  }
  return TRUE;
}
static SOCKET Connect(void) {
  struct sockaddr_in4 to;
  ULONG timeoutMs = 10000;
  SOCKET s = socket(2 /* AF_INET */, 1 /* SOCK_STREAM */, 6 /* IPPROTO_TCP */);
  if (s == INVALID_SOCKET) return s;
  RtlZeroMemory(&to, sizeof to);
  to.sin_family = 2;
  to.sin_port = (USHORT)((relayPort >> 8) | (relayPort << 8));
  to.sin_addr.s_addr = 0x0100007F; /* 127.0.0.1 */
  setsockopt(s, 0xFFFF /* SOL_SOCKET */, 0x1006 /* SO_RCVTIMEO */, (const char*)&timeoutMs, sizeof timeoutMs);
  if (connect(s, &to, sizeof to) != 0) {
    closesocket(s);
    return INVALID_SOCKET;
  }
  return s;
}

/* One request frame out, its reply in: a pool block the caller frees, read through `reply`
 * after its status byte (0, success); NULL when wlansim cannot be reached or refused. */
static UCHAR* Call(const UCHAR* request, ULONG size, BUF* reply) {
  UCHAR head[4], *answer = NULL;
  ULONG length = 0;
  BUF h = {head, 4, 0, TRUE};
  SOCKET s = Connect();
  if (s == INVALID_SOCKET) return NULL;
  PutU32(&h, size);
  if (SendAll(s, head, 4) && SendAll(s, request, size) && RecvAll(s, head, 4)) {
    length = (ULONG)head[0] | (ULONG)head[1] << 8 | (ULONG)head[2] << 16 | (ULONG)head[3] << 24;
    if (length >= 1 && length <= MAX_FRAME) answer = ExAllocatePoolWithTag(NonPagedPool, length, 'mSxV');
    if (answer && !RecvAll(s, answer, length)) {
      ExFreePoolWithTag(answer, 'mSxV');
      answer = NULL;
    }
  }
  closesocket(s);
  if (!answer) return NULL;
  reply->data = answer;
  reply->size = length;
  reply->at = 0;
  reply->ok = TRUE;
  if (GetU8(reply) != 0) { /* an error reply: wlansim did not understand */
    ExFreePoolWithTag(answer, 'mSxV');
    return NULL;
  }
  return answer;
}

/* ---- requests --------------------------------------------------------------------------------- */

static NTSTATUS Complete(PIRP irp, NTSTATUS status, ULONG_PTR information) {
  irp->IoStatus.Status = status;
  irp->IoStatus.Information = information;
  IoCompleteRequest(irp, IO_NO_INCREMENT);
  return status;
}

/* What wlansim's Win32 error becomes, so the program's GetLastError reads it back. */
static NTSTATUS StatusOf(ULONG error) {
  switch (error) {
    case 2:
      return STATUS_NO_SUCH_DEVICE; /* ERROR_FILE_NOT_FOUND: the card is gone */
    case 122:
      return STATUS_BUFFER_TOO_SMALL; /* ERROR_INSUFFICIENT_BUFFER */
    case 87:
      return STATUS_INVALID_PARAMETER; /* ERROR_INVALID_PARAMETER */
    default:
      return STATUS_UNSUCCESSFUL; /* ERROR_GEN_FAILURE */
  }
}

/* An open reaches the adapter: a card that was pulled is not there to open. */
static NTSTATUS NTAPI DispatchCreate(PDEVICE_OBJECT device, PIRP irp) {
  DEVICE_EXTENSION* x = device->DeviceExtension;
  UCHAR request[128];
  BUF w = {request, sizeof request, 0, TRUE}, r;
  UCHAR* answer;
  NTSTATUS status = STATUS_NO_SUCH_DEVICE;
  PutU8(&w, kCmdDeviceOpen);
  PutBytes(&w, x->path, (ULONG)strlen(x->path));
  if (w.ok && (answer = Call(request, w.at, &r)) != NULL) {
    UCHAR opened = GetU8(&r);
    ULONG error = GetU32(&r);
    if (r.ok) status = opened ? STATUS_SUCCESS : StatusOf(error ? error : 2);
    ExFreePoolWithTag(answer, 'mSxV');
  }
  return Complete(irp, status, 0);
}

static NTSTATUS NTAPI DispatchClose(PDEVICE_OBJECT device, PIRP irp) {
  (void)device;
  return Complete(irp, STATUS_SUCCESS, 0);
}

/* Every I/O control, the adapter's OID requests (METHOD_OUT_DIRECT: the 4-byte code in, the
 * caller's buffer out for queries and sets alike) and the bridge's (METHOD_BUFFERED), goes to
 * wlansim with the caller's buffer as it is; on success the answer and the bytes returned come
 * back, on failure the caller's buffer is left as it was. */
static NTSTATUS NTAPI DispatchControl(PDEVICE_OBJECT device, PIRP irp) {
  DEVICE_EXTENSION* x = device->DeviceExtension;
  PIO_STACK_LOCATION stack = IoGetCurrentIrpStackLocation(irp);
  ULONG code = stack->Parameters.DeviceIoControl.IoControlCode;
  ULONG inSize = stack->Parameters.DeviceIoControl.InputBufferLength;
  ULONG outSize = stack->Parameters.DeviceIoControl.OutputBufferLength;
  UCHAR *in = irp->AssociatedIrp.SystemBuffer, *out = NULL, *request, *answer;
  ULONG pathSize = (ULONG)strlen(x->path), size, ok, returned, error, answerSize;
  const UCHAR* data;
  BUF w, r;
  NTSTATUS status = STATUS_UNSUCCESSFUL;
  ULONG_PTR information = 0;

  switch (code & 3) {
    case METHOD_BUFFERED:
      out = irp->AssociatedIrp.SystemBuffer;
      break;
    case METHOD_IN_DIRECT:
    case METHOD_OUT_DIRECT:
      if (irp->MdlAddress) out = MmGetSystemAddressForMdlSafe(irp->MdlAddress, NormalPagePriority);
      if (outSize && !out) return Complete(irp, STATUS_INSUFFICIENT_RESOURCES, 0);
      break;
    default:
      return Complete(irp, STATUS_INVALID_DEVICE_REQUEST, 0);
  }
  if ((inSize && !in) || inSize > MAX_FRAME / 2 || outSize > MAX_FRAME / 2)
    return Complete(irp, STATUS_INVALID_PARAMETER, 0);

  size = 1 + 4 + pathSize + 4 + 4 + inSize + 4 + outSize;
  request = ExAllocatePoolWithTag(NonPagedPool, size, 'mSxV');
  if (!request) return Complete(irp, STATUS_INSUFFICIENT_RESOURCES, 0);
  w.data = request;
  w.size = size;
  w.at = 0;
  w.ok = TRUE;
  PutU8(&w, kCmdDeviceControl);
  PutBytes(&w, x->path, pathSize);
  PutU32(&w, code);
  PutBytes(&w, in, inSize);
  PutBytes(&w, out, outSize);
  answer = w.ok ? Call(request, w.at, &r) : NULL;
  ExFreePoolWithTag(request, 'mSxV');
  if (!answer) return Complete(irp, STATUS_NO_SUCH_DEVICE, 0); /* wlansim, the card, is gone */

  ok = GetU8(&r);
  returned = GetU32(&r);
  error = GetU32(&r);
  data = GetBytes(&r, &answerSize);
  if (r.ok && answerSize == outSize && returned <= outSize) {
    if (ok) {
      if (outSize) RtlCopyMemory(out, data, outSize);
      status = STATUS_SUCCESS;
      information = returned;
    } else {
      status = StatusOf(error);
    }
  }
  ExFreePoolWithTag(answer, 'mSxV');
  return Complete(irp, status, information);
}

/* ---- the devices ------------------------------------------------------------------------------ */

static void Widen(WCHAR* to, size_t capacity, const char* prefix, const char* text, size_t length) {
  size_t n = 0;
  while (*prefix && n + 1 < capacity) to[n++] = (WCHAR)(UCHAR)*prefix++;
  while (length-- && n + 1 < capacity) to[n++] = (WCHAR)(UCHAR)*text++;
  to[n] = 0;
}

/* "\\.\NAME" and "\DosDevices\NAME" for the device "\Device\VxSimN". */
static NTSTATUS AddDevice(PDRIVER_OBJECT driver, int number, const char* name, size_t length) {
  WCHAR nameText[32] = L"\\Device\\VxSim0";
  UNICODE_STRING deviceName, linkName;
  PDEVICE_OBJECT device;
  DEVICE_EXTENSION* x;
  NTSTATUS status;
  if (length + 5 > sizeof x->path) return STATUS_INVALID_PARAMETER;
  nameText[13] = (WCHAR)(L'0' + number);
  RtlInitUnicodeString(&deviceName, nameText);
  status =
      IoCreateDevice(driver, sizeof(DEVICE_EXTENSION), &deviceName, FILE_DEVICE_NETWORK, 0, FALSE, &device);
  if (!NT_SUCCESS(status)) return status;
  x = device->DeviceExtension;
  RtlZeroMemory(x, sizeof *x);
  RtlCopyMemory(x->path, "\\\\.\\", 4);
  RtlCopyMemory(x->path + 4, name, length);
  Widen(x->link, sizeof x->link / sizeof x->link[0], "\\DosDevices\\", name, length);
  RtlInitUnicodeString(&linkName, x->link);
  status = IoCreateSymbolicLink(&linkName, &deviceName);
  if (!NT_SUCCESS(status)) IoDeleteDevice(device);
  return status;
}

static void NTAPI Unload(PDRIVER_OBJECT driver) {
  while (driver->DeviceObject) {
    PDEVICE_OBJECT device = driver->DeviceObject;
    DEVICE_EXTENSION* x = device->DeviceExtension;
    UNICODE_STRING linkName;
    RtlInitUnicodeString(&linkName, x->link);
    IoDeleteSymbolicLink(&linkName);
    IoDeleteDevice(device);
  }
  WSACleanup();
}

/* The service key's Parameters\Port. */
static BOOLEAN ReadPort(PUNICODE_STRING registryPath) {
  WCHAR path[512];
  UNICODE_STRING keyName, valueName;
  OBJECT_ATTRIBUTES attributes;
  HANDLE key;
  UCHAR value[sizeof(KEY_VALUE_PARTIAL_INFORMATION) + sizeof(ULONG)];
  KEY_VALUE_PARTIAL_INFORMATION* info = (KEY_VALUE_PARTIAL_INFORMATION*)value;
  ULONG length = registryPath->Length / sizeof(WCHAR), got = 0, port;
  const WCHAR* suffix = L"\\Parameters";
  ULONG i;
  if (length + 12 > sizeof path / sizeof path[0]) return FALSE;
  RtlCopyMemory(path, registryPath->Buffer, length * sizeof(WCHAR));
  for (i = 0; i <= 11; ++i) path[length + i] = suffix[i];
  RtlInitUnicodeString(&keyName, path);
  InitializeObjectAttributes(&attributes, &keyName, OBJ_CASE_INSENSITIVE | OBJ_KERNEL_HANDLE, NULL, NULL);
  if (!NT_SUCCESS(ZwOpenKey(&key, KEY_READ, &attributes))) return FALSE;
  RtlInitUnicodeString(&valueName, L"Port");
  if (!NT_SUCCESS(ZwQueryValueKey(key, &valueName, KeyValuePartialInformation, info, sizeof value, &got)) ||
      info->Type != REG_DWORD || info->DataLength != sizeof(ULONG)) {
    ZwClose(key);
    return FALSE;
  }
  ZwClose(key);
  RtlCopyMemory(&port, info->Data, sizeof port);
  if (port == 0 || port > 65535) return FALSE;
  relayPort = (USHORT)port;
  return TRUE;
}

/* A device for every adapter wlansim's device set-up lists with a NetCfgInstanceId. */
static NTSTATUS AddAdapters(PDRIVER_OBJECT driver, int* number) {
  UCHAR request[1] = {kCmdEnumerate}, *answer;
  BUF r;
  ULONG count, i, j, n;
  NTSTATUS status = STATUS_SUCCESS;
  answer = Call(request, 1, &r);
  if (!answer) return STATUS_DEVICE_NOT_CONNECTED;
  GetU8(&r);
  count = GetU32(&r);
  for (i = 0; i < count && r.ok && NT_SUCCESS(status); ++i) {
    const UCHAR* id;
    UCHAR hasId;
    for (j = 0; j < 6; ++j) GetBytes(&r, &n); /* hardware ID ... manufacturer */
    hasId = GetU8(&r);
    id = GetBytes(&r, &n);
    if (r.ok && hasId && n && *number < MAX_DEVICES)
      status = AddDevice(driver, (*number)++, (const char*)id, n);
  }
  ExFreePoolWithTag(answer, 'mSxV');
  return r.ok ? status : STATUS_DEVICE_CONFIGURATION_ERROR;
}

/* The bridge driver is there when wlansim lets its device be opened. */
static BOOLEAN BridgePresent(void) {
  static const UCHAR request[] = {kCmdDeviceOpen, 8, 0, 0, 0, '\\', '\\', '.', '\\', 'X', 'B', 'R', 'G'};
  BUF r;
  UCHAR *answer = Call(request, sizeof request, &r), opened;
  if (!answer) return FALSE;
  opened = GetU8(&r);
  ExFreePoolWithTag(answer, 'mSxV');
  return r.ok && opened;
}

NTSTATUS NTAPI DriverEntry(PDRIVER_OBJECT driver, PUNICODE_STRING registryPath) {
  UCHAR wsaData[1024];
  int number = 0;
  NTSTATUS status;
  if (!ReadPort(registryPath)) return STATUS_DEVICE_CONFIGURATION_ERROR;
  if (WSAStartup(0x0202, wsaData) != 0) return STATUS_UNSUCCESSFUL;
  driver->MajorFunction[IRP_MJ_CREATE] = DispatchCreate;
  driver->MajorFunction[IRP_MJ_CLOSE] = DispatchClose;
  driver->MajorFunction[IRP_MJ_CLEANUP] = DispatchClose;
  driver->MajorFunction[IRP_MJ_DEVICE_CONTROL] = DispatchControl;
  driver->DriverUnload = Unload;
  status = AddAdapters(driver, &number);
  if (NT_SUCCESS(status) && BridgePresent()) status = AddDevice(driver, number++, "XBRG", 4);
  if (!NT_SUCCESS(status)) Unload(driver);
  return status;
}
