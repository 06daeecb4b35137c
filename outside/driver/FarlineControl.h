/* How a test talks to the substitute FARLINE.VXD driver: registry values under the driver's
 * service key, subkey "Parameters" (HKLM\System\CurrentControlSet\Services\<service>\Parameters).
 * The driver reads its answers there on every request and records there what it was asked.
 * Plain defines only: included by the driver (DDK headers) and by the Windows tests. */
#ifndef FARLINE_CONTROL_H
#define FARLINE_CONTROL_H

/* The service name the install script registers the driver under. */
#define FARLINE_SERVICE_NAME "farline"
#define FARLINE_PARAMETERS_KEY "System\\CurrentControlSet\\Services\\" FARLINE_SERVICE_NAME "\\Parameters"

/* The two requests the driver answers (raw control codes, no input, 8-byte output). */
#define FARLINE_REQUEST_RECONFIGURE 1
#define FARLINE_REQUEST_PORTS_IN_USE 2

/* Answers, per request code c (1 or 2):
 *   "Answer<c>"  REG_DWORD  the result the driver reports (absent: 0)
 *   "Answers<c>" REG_BINARY a list of signed 32-bit results: the k-th request of code c (k counted
 *                           from 0 by "Count<c>") answers element k while there is one, and
 *                           "Answer<c>" after the list is used up.
 *   "Fail<c>"    REG_DWORD  non-zero: the request does not succeed (the caller's DeviceIoControl
 *                           fails), as a driver in trouble would answer.
 *   "Delay<c>"   REG_DWORD  milliseconds the driver waits before it answers (at most 10000).
 *   "UnlinkAfter<c>" REG_DWORD non-zero: after answering a request of code c the driver removes
 *                           its name \\.\FARLINE.VXD, as if it had been unloaded: open handles keep
 *                           working, new opens fail with error 2 until the driver is started again.
 * Wine hands the driver opens and closes after CreateFile and CloseHandle have returned, so their
 * records can lag behind the caller a little; a request is answered only after its open. */
#define FARLINE_ANSWER_FORMAT "Answer%u"
#define FARLINE_ANSWERS_FORMAT "Answers%u"
#define FARLINE_FAIL_FORMAT "Fail%u"
#define FARLINE_DELAY_FORMAT "Delay%u"
#define FARLINE_UNLINK_AFTER_FORMAT "UnlinkAfter%u"

/* Records, written by the driver:
 *   "Count<c>"      REG_DWORD  how many requests of code c it received (any code, known or not)
 *   "Requests"      REG_SZ     every request code in order of arrival, comma-separated ("2,1,1")
 *   "Opens"         REG_DWORD  how many times the device was opened
 *   "Closes"        REG_DWORD  how many handles to it were closed
 *   "OpenShare"     REG_DWORD  share access of the last open
 *   "OpenOptions"   REG_DWORD  create options of the last open (FILE_DELETE_ON_CLOSE is 0x1000)
 *   "InputLength"   REG_DWORD  input buffer length of the last request
 *   "OutputLength"  REG_DWORD  output buffer length of the last request
 *   "Reconfigurations" REG_SZ  for each reconfigure request, what the driver would load then,
 *                           comma-separated: "FFFF/DDDD" with F the redirect flag of COM1 to COM4
 *                           in the user's configuration (Control Panel\Zantu Quillet95\COMM:
 *                           '1' set, '0' clear, '-' absent) and D whether COMn has a port device
 *                           key (HKLM\Enum\Root\PORTS\Zantu0n: '1' or '0')
 * Deleting the Parameters key resets every answer and record. */
#define FARLINE_COUNT_FORMAT "Count%u"
#define FARLINE_VALUE_REQUESTS "Requests"
#define FARLINE_VALUE_OPENS "Opens"
#define FARLINE_VALUE_CLOSES "Closes"
#define FARLINE_VALUE_OPEN_SHARE "OpenShare"
#define FARLINE_VALUE_OPEN_OPTIONS "OpenOptions"
#define FARLINE_VALUE_INPUT_LENGTH "InputLength"
#define FARLINE_VALUE_OUTPUT_LENGTH "OutputLength"
#define FARLINE_VALUE_RECONFIGURATIONS "Reconfigurations"

#endif
