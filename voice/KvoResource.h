// Resource ids of kvo32.ocx outside the logging area: the server's strings,
// the host error texts (4000 + k for error 32000 + k) and StartSystem's
// (4100 + n for error 32300 + n).
#pragma once

#define IDS_KAVORO 635

#define IDS_INCONN 700
#define IDS_OUTCONN 701
#define IDS_USER 702
#define IDS_FRAME 703
#define IDS_GREETING 704
#define IDS_PHRASE 705
#define IDS_INVALID_INDEX 706

#define IDS_ERR_INVALID_OUTPUT_NODE 4000
#define IDS_ERR_CONTROL_NAME_NOT_FOUND 4001
#define IDS_ERR_CALL_NOT_IN_CONTROL 4004
#define IDS_ERR_STATE_DOES_NOT_ALLOW 4005
#define IDS_ERR_SYSTEM_NOT_STARTED 4006
#define IDS_ERR_CANNOT_USE_PHRASE_TYPE 4010
#define IDS_ERR_ADDING_PHRASE 4011
#define IDS_ERR_PHRASE_NOT_FOUND 4012
#define IDS_ERR_LINE_IN_USE 4016
#define IDS_ERR_LINE_NOT_ALLOCATED 4017

#define IDS_START_DURING_TEST 4101
#define IDS_START_ALREADY_STARTED 4102
#define IDS_START_NOT_RUN_MODE 4103
#define IDS_START_CANNOT_LOAD_CARD 4104
#define IDS_START_CHECK_FAILED 4105
#define IDS_START_LINES_FAILED 4106
#define IDS_START_NO_FRAME 4107

// Error numbers raised to the host: 32000 + (string id - 4000).
#define KVO_ERROR_OF(ids) (32000u + ((ids) - 4000u))

#define IDD_VALUE_PROMPT 800
#define IDC_VALUE_PROMPT_TEXT 801
#define IDC_VALUE_PROMPT_EDIT 802
