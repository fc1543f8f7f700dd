-- The suite's shared database: the tables the administration console reads and writes.
-- Valid T-SQL for SQL Server (run with sqlcmd) and for the embedded stand-in; batches end with GO.
-- Where the console writes a table positionally (INSERT ... VALUES without a column list), the
-- column count and order below are what make each value land in its column.

CREATE TABLE Database_version (
    version decimal(8,4) NOT NULL
)
CREATE TABLE User_identifier (next_user_id int NOT NULL)
CREATE TABLE Physician_identifier (next_physician_id int NOT NULL)
GO

-- Partitions ------------------------------------------------------------------------------------
CREATE TABLE System_partitions (
    partition_id int NOT NULL PRIMARY KEY,
    parent_id int NOT NULL,
    partition_name varchar(50) NOT NULL,
    share_bitmask int NOT NULL DEFAULT 0,
    lineage varchar(255) NOT NULL,
    delete_date datetime NULL
)
CREATE TABLE System_partitions_shares (
    shared_by_id int NOT NULL,
    shared_with_id int NOT NULL,
    PRIMARY KEY (shared_by_id, shared_with_id)
)
GO

-- Users, groups, privileges, policies -------------------------------------------------------------
CREATE TABLE System_user_bindery (
    user_id int NOT NULL PRIMARY KEY,
    user_name varchar(50) NOT NULL,
    password binary(30) NULL,
    first_name varchar(21) NULL,
    last_name varchar(30) NULL,
    description varchar(100) NULL,
    trans_id varchar(8) NULL,
    last_access_datetime datetime NULL,
    user_group_id int NOT NULL DEFAULT 0,
    enabled tinyint NOT NULL DEFAULT 1,
    locked_out tinyint NOT NULL DEFAULT 0,
    is_administrator tinyint NOT NULL DEFAULT 0,
    password_changed_datetime datetime NULL,
    must_change_password tinyint NOT NULL DEFAULT 0,
    nbr_bad_attempts int NOT NULL DEFAULT 0,
    last_attempt_datetime datetime NULL,
    can_change_password tinyint NOT NULL DEFAULT 1,
    privilege_set1 varchar(255) NULL,
    privilege_set2 varchar(255) NULL,
    flag1 int NOT NULL DEFAULT 0,
    flag2 int NOT NULL DEFAULT 0,
    flag3 int NOT NULL DEFAULT 0,
    flag4 tinyint NOT NULL DEFAULT 0,
    string1 varchar(40) NULL,
    string2 varchar(255) NULL,
    date1 datetime NULL,
    is_deleted tinyint NOT NULL DEFAULT 0,
    partition_id int NOT NULL DEFAULT 0,
    is_shared tinyint NOT NULL DEFAULT 0,
    must_change_signature_password tinyint NOT NULL DEFAULT 0,
    signature_password binary(30) NULL,
    signature_password_changed_datetime datetime NULL
)
CREATE INDEX ix_user_name ON System_user_bindery (user_name)
CREATE TABLE System_security_groups (
    group_id int NOT NULL,
    user_id int NOT NULL,
    group_relations varchar(100) NULL,
    flag1 int NOT NULL DEFAULT 0,
    flag2 int NOT NULL DEFAULT 0,
    flag3 int NOT NULL DEFAULT 0,
    string1 varchar(255) NULL,
    string2 varchar(255) NULL,
    date1 datetime NULL,
    PRIMARY KEY (group_id, user_id)
)
CREATE TABLE System_user_cfg (
    user_id int NOT NULL,
    application_id int NOT NULL,
    key_name varchar(50) NOT NULL,
    key_value varchar(255) NULL,
    partition_id int NOT NULL DEFAULT 0
)
CREATE INDEX ix_user_cfg ON System_user_cfg (user_id, application_id)
CREATE TABLE System_user_policies (
    policy_id tinyint NOT NULL PRIMARY KEY,
    policy_name varchar(30) NOT NULL,
    permit_blank_password tinyint NOT NULL DEFAULT 0,
    case_sensitive_password tinyint NOT NULL DEFAULT 0,
    minimum_password_length tinyint NOT NULL DEFAULT 3,
    require_alpha_numeric tinyint NOT NULL DEFAULT 0,
    allow_password_change tinyint NOT NULL DEFAULT 1,
    password_expiration_days smallint NOT NULL DEFAULT 0,
    system_unique_password tinyint NOT NULL DEFAULT 0,
    keep_password_history tinyint NOT NULL DEFAULT 0,
    password_history_length tinyint NOT NULL DEFAULT 3,
    inactivity_timeout int NOT NULL DEFAULT 0,
    intruder_detection_enabled tinyint NOT NULL DEFAULT 0,
    maximum_login_attempts tinyint NOT NULL DEFAULT 3,
    lockout_duration int NOT NULL DEFAULT 30,
    last_datetime datetime NULL,
    last_user int NULL,
    flag1 int NOT NULL DEFAULT 0,
    flag2 int NOT NULL DEFAULT 0,
    flag3 int NOT NULL DEFAULT 0,
    string1 varchar(100) NULL,
    string2 varchar(2000) NULL,
    date1 datetime NULL,
    signature_password_expiration_days smallint NOT NULL DEFAULT 0,
    signature_password_mode tinyint NOT NULL DEFAULT 0,
    flag4 int NOT NULL DEFAULT 3,
    flag5 int NOT NULL DEFAULT 0,
    flag6 int NOT NULL DEFAULT 0,
    flag7 int NOT NULL DEFAULT 0
)
CREATE TABLE Privileges_accounts (
    user_id int NOT NULL,
    hosp_acct_id int NOT NULL,
    privilege_set1 varchar(255) NULL,
    privilege_set2 varchar(255) NULL,
    PRIMARY KEY (user_id, hosp_acct_id)
)
CREATE TABLE Privileges_departments (
    user_id int NOT NULL,
    hosp_acct_id int NOT NULL,
    dept_id int NOT NULL,
    privilege_set1 varchar(255) NULL,
    privilege_set2 varchar(255) NULL
)
CREATE TABLE Privileges_report_types (
    user_id int NOT NULL,
    hosp_acct_id int NOT NULL,
    dept_id int NOT NULL,
    report_type_nbr int NOT NULL,
    privilege_set1 varchar(20) NULL,
    privilege_set2 varchar(20) NULL,
    flag1 int NOT NULL DEFAULT 0,
    flag2 int NOT NULL DEFAULT 0,
    flag3 int NOT NULL DEFAULT 0,
    string1 varchar(255) NULL,
    date1 datetime NULL,
    PRIMARY KEY (user_id, hosp_acct_id, dept_id, report_type_nbr)
)
CREATE TABLE System_user_messages (
    user_id int NOT NULL,
    message varchar(1000) NOT NULL,
    message_datetime datetime NOT NULL,
    from_user_id int NOT NULL,
    flag1 int NOT NULL DEFAULT 0,
    flag2 int NOT NULL DEFAULT 0,
    string1 varchar(255) NULL
)
CREATE TABLE Trans_info (
    trans_id varchar(8) NOT NULL PRIMARY KEY,
    trans_type tinyint NOT NULL DEFAULT 1,
    first_name varchar(30) NULL,
    last_name varchar(30) NULL,
    initials varchar(5) NULL,
    location_code varchar(10) NULL,
    dictation_id varchar(20) NULL,
    mis_nbr varchar(20) NULL,
    account_disabled tinyint NOT NULL DEFAULT 0,
    supervisor tinyint NOT NULL DEFAULT 0,
    last_access datetime NULL,
    extra1 int NOT NULL DEFAULT 0,
    extra2 int NOT NULL DEFAULT 0,
    extra3 int NOT NULL DEFAULT 0,
    extra4 int NOT NULL DEFAULT 0,
    extra5 int NOT NULL DEFAULT 0,
    extra6 int NOT NULL DEFAULT 0,
    extra7 int NOT NULL DEFAULT 0,
    is_deleted tinyint NOT NULL DEFAULT 0
)
CREATE TABLE Trans_activity (
    trans_id varchar(8) NOT NULL,
    pause_type int NOT NULL,
    start_datetime datetime NULL,
    end_datetime datetime NULL
)
CREATE TABLE Trans_incentive (
    trans_id varchar(8) NOT NULL,
    hosp_acct_id int NOT NULL,
    shift_date datetime NOT NULL,
    lines decimal(10,2) NOT NULL DEFAULT 0,
    locked tinyint NOT NULL DEFAULT 0
)
CREATE TABLE Groups_transcriptionists (
    group_id int NOT NULL,
    trans_id varchar(8) NOT NULL
)
CREATE TABLE Transform_sessions (
    session_id int NOT NULL PRIMARY KEY,
    orig_processor_user_id int NOT NULL,
    source_user_id int NOT NULL,
    create_date datetime NULL
)
CREATE TABLE Locked_reports (
    trans_id varchar(8) NOT NULL,
    create_date datetime NOT NULL,
    lock_time datetime NOT NULL,
    document_id int NOT NULL,
    hosp_acct_id int NOT NULL,
    report_type_nbr int NOT NULL,
    lock_type tinyint NOT NULL DEFAULT 1,
    user_id int NULL,
    patient_first varchar(30) NULL,
    patient_last varchar(30) NULL,
    patient_id varchar(20) NULL,
    dictation_nbr varchar(20) NULL,
    dictating_name varchar(60) NULL,
    string1 varchar(255) NULL
)
CREATE TABLE Signature_session_locks (
    document_id int NOT NULL PRIMARY KEY,
    physician_id int NOT NULL,
    lock_timestamp datetime NOT NULL
)
CREATE TABLE System_offline_db_updates (
    request_id int IDENTITY(1,1) NOT NULL,
    request_datetime datetime NOT NULL,
    user_id int NOT NULL,
    workstation varchar(50) NULL,
    flag1 int NOT NULL DEFAULT 0
)
GO

-- Signature relationships -------------------------------------------------------------------------
CREATE TABLE Signature_relationships (
    physician_id int NOT NULL,
    related_physician_id int NOT NULL,
    relationship_type tinyint NOT NULL,
    access_type tinyint NOT NULL,
    flag3 int NOT NULL DEFAULT 0,
    effective_date datetime NULL,
    expire_date datetime NULL,
    flag1 int NOT NULL DEFAULT 0,
    flag2 int NOT NULL DEFAULT 0,
    flag4 int NOT NULL DEFAULT 0,
    string1 varchar(255) NULL,
    string2 varchar(255) NULL,
    date1 datetime NULL
)
CREATE TABLE Signature_surrogates (
    dictator_physician_id int NOT NULL,
    surrogate_physician_id int NOT NULL,
    surrogate_group_id int NOT NULL DEFAULT -1,
    effective_date datetime NULL,
    expire_date datetime NULL,
    create_date datetime NULL,
    flag1 int NOT NULL DEFAULT 0,
    flag2 int NOT NULL DEFAULT 0,
    flag3 int NOT NULL DEFAULT 0,
    string1 varchar(255) NULL,
    string2 varchar(255) NULL,
    date1 datetime NULL
)
CREATE TABLE Signature_dependencies (
    dictator_physician_id int NOT NULL,
    cosigner_physician_id int NOT NULL,
    cosigner_group_id int NOT NULL DEFAULT -1,
    cosigner_physician_type tinyint NOT NULL,
    cosigner_signature_required tinyint NOT NULL DEFAULT 0,
    cosigner_signature_level tinyint NOT NULL DEFAULT 1,
    dictator_signature_required tinyint NOT NULL DEFAULT 0,
    dictator_signature_level tinyint NOT NULL DEFAULT 1,
    effective_date datetime NULL,
    expire_date datetime NULL,
    create_date datetime NULL,
    flag1 int NOT NULL DEFAULT 0,
    flag2 int NOT NULL DEFAULT 0,
    flag3 int NOT NULL DEFAULT 0,
    string1 varchar(255) NULL,
    string2 varchar(255) NULL,
    date1 datetime NULL
)
CREATE TABLE Signature_pending_phys_reports (
    document_id int NOT NULL,
    physician_id int NOT NULL,
    available_for_signature tinyint NOT NULL DEFAULT 1,
    signing_physician tinyint NOT NULL DEFAULT 0
)
GO

-- Accounts, report types, batches ---------------------------------------------------------------
CREATE TABLE Account_info (
    hosp_acct_id int NOT NULL PRIMARY KEY,
    hosp_acct_name varchar(50) NOT NULL,
    hosp_acct_description varchar(100) NULL,
    contact varchar(50) NULL,
    title varchar(50) NULL,
    address_1 varchar(50) NULL,
    address_2 varchar(50) NULL,
    city varchar(30) NULL,
    state varchar(20) NULL,
    zip_code varchar(10) NULL,
    phone_nbr_1 varchar(20) NULL,
    phone_nbr_2 varchar(20) NULL,
    fax_nbr varchar(20) NULL,
    email_address varchar(100) NULL,
    email_type smallint NOT NULL DEFAULT 0,
    amount_per_line real NOT NULL DEFAULT 0,
    partition_id int NOT NULL DEFAULT 0,
    hospital_id_filter varchar(255) NULL,
    upload_filter varchar(50) NULL,
    is_deleted tinyint NOT NULL DEFAULT 0
)
CREATE TABLE Reports_cfg (
    hosp_acct_id int NOT NULL,
    dept_id int NOT NULL,
    report_type_nbr int NOT NULL,
    report_version_nbr int NOT NULL,
    report_name varchar(50) NOT NULL,
    billing_linecount_cfg int NOT NULL DEFAULT 0,
    payroll_linecount_cfg int NOT NULL DEFAULT 0,
    is_deleted tinyint NOT NULL DEFAULT 0,
    flag1 int NOT NULL DEFAULT 0,
    string1 varchar(255) NULL,
    PRIMARY KEY (hosp_acct_id, dept_id, report_type_nbr, report_version_nbr)
)
CREATE TABLE Report_outputs_cfg (
    hosp_acct_id int NOT NULL,
    dept_id int NOT NULL,
    report_type_nbr int NOT NULL,
    output_nbr int NOT NULL,
    output_type smallint NOT NULL DEFAULT 0,
    printer_id int NULL,
    copies smallint NOT NULL DEFAULT 1,
    flag1 int NOT NULL DEFAULT 0,
    string1 varchar(255) NULL
)
CREATE TABLE Report_fields_cfg (
    hosp_acct_id int NOT NULL,
    dept_id int NOT NULL,
    report_type_nbr int NOT NULL,
    field_nbr int NOT NULL,
    is_required tinyint NOT NULL DEFAULT 0,
    field_order smallint NOT NULL DEFAULT 0,
    flag1 int NOT NULL DEFAULT 0,
    string1 varchar(255) NULL
)
CREATE TABLE System_fields (
    field_nbr int NOT NULL PRIMARY KEY,
    field_name varchar(50) NOT NULL,
    field_type smallint NOT NULL DEFAULT 0,
    field_length smallint NOT NULL DEFAULT 0,
    flag1 int NOT NULL DEFAULT 0,
    string1 varchar(255) NULL
)
CREATE TABLE Batch_cfg (
    hosp_acct_id int NOT NULL,
    batch_name varchar(50) NOT NULL,
    batch_nbr int NOT NULL,
    batch_type smallint NOT NULL DEFAULT 0,
    st_printer_id int NULL,
    last_batch_id int NULL,
    last_status smallint NULL,
    last_reports int NULL,
    last_reports_done int NULL,
    last_user_id int NULL,
    last_run_datetime datetime NULL,
    is_deleted tinyint NOT NULL DEFAULT 0,
    flag1 int NOT NULL DEFAULT 1
)
CREATE TABLE Batch_groups_cfg (
    hosp_acct_id int NOT NULL,
    batch_nbr int NOT NULL,
    group_nbr int NOT NULL,
    group_name varchar(50) NOT NULL,
    printer_id int NULL,
    is_deleted tinyint NOT NULL DEFAULT 0
)
CREATE TABLE Batch_fields (
    batch_field_nbr int NOT NULL PRIMARY KEY,
    sql_field_name varchar(50) NOT NULL,
    batch_field_name varchar(50) NOT NULL,
    field_location smallint NOT NULL,
    field_type smallint NOT NULL DEFAULT 0,
    custom_operation varchar(255) NULL,
    field_nbr_to_use int NULL,
    start_character int NULL,
    end_character int NULL
)
CREATE TABLE Suspension_types (
    hosp_acct_id int NOT NULL,
    suspension_type tinyint NOT NULL,
    suspension_severity tinyint NOT NULL DEFAULT 0,
    suspension_description varchar(50) NOT NULL
)
CREATE TABLE Pause_types (
    hosp_acct_id int NOT NULL,
    pause_type int NOT NULL,
    pause_description varchar(50) NOT NULL,
    work_type tinyint NOT NULL DEFAULT 0,
    work_hours_choice tinyint NOT NULL DEFAULT 1,
    pause_reason_choice tinyint NOT NULL DEFAULT 1
)
CREATE TABLE Linecount_cfg (
    config_id int NOT NULL PRIMARY KEY,
    config_name varchar(30) NOT NULL,
    lc_line_length tinyint NOT NULL DEFAULT 65,
    lc_nbr_divisions tinyint NOT NULL DEFAULT 1,
    lc_count_system_areas tinyint NOT NULL DEFAULT 0,
    lc_subsequent_pages tinyint NOT NULL DEFAULT 0,
    lc_tabs_indents tinyint NOT NULL DEFAULT 0,
    lc_attributes tinyint NOT NULL DEFAULT 0,
    lc_wp_codes_function tinyint NOT NULL DEFAULT 0,
    lc_blank_lines tinyint NOT NULL DEFAULT 0,
    lc_weight_type tinyint NOT NULL DEFAULT 0,
    lc_weight_value smallint NOT NULL DEFAULT 100,
    flag1 int NOT NULL DEFAULT 0,
    flag3 int NOT NULL DEFAULT 0,
    flag5 int NOT NULL DEFAULT 0,
    cc_line_length tinyint NOT NULL DEFAULT 65,
    cc_nbr_divisions tinyint NOT NULL DEFAULT 1,
    cc_count_system_areas tinyint NOT NULL DEFAULT 0,
    cc_subsequent_pages tinyint NOT NULL DEFAULT 0,
    cc_tabs_indents tinyint NOT NULL DEFAULT 0,
    cc_attributes tinyint NOT NULL DEFAULT 0,
    cc_wp_codes_function tinyint NOT NULL DEFAULT 0,
    cc_blank_lines tinyint NOT NULL DEFAULT 0,
    cc_weight_type tinyint NOT NULL DEFAULT 0,
    cc_weight_value smallint NOT NULL DEFAULT 100,
    flag2 int NOT NULL DEFAULT 0,
    flag4 int NOT NULL DEFAULT 0,
    flag6 int NOT NULL DEFAULT 0,
    pc_page_length tinyint NOT NULL DEFAULT 55,
    pc_nbr_divisions tinyint NOT NULL DEFAULT 1,
    pc_weight_type tinyint NOT NULL DEFAULT 0,
    pc_weight_value smallint NOT NULL DEFAULT 100,
    attribute_set1 varchar(255) NULL,
    attribute_set2 varchar(255) NULL,
    attribute_set3 varchar(255) NULL,
    function_set1 varchar(255) NULL,
    function_set2 varchar(255) NULL,
    function_set3 varchar(255) NULL
)
CREATE TABLE patient_adt (
    hospital_id varchar(20) NOT NULL,
    patient_id varchar(20) NOT NULL,
    patient_last varchar(30) NULL,
    patient_first varchar(30) NULL
)
GO

-- Physicians --------------------------------------------------------------------------------------
CREATE TABLE Physician_profile (
    physician_id int NOT NULL PRIMARY KEY,
    first_name varchar(30) NULL,
    last_name varchar(30) NULL,
    initials varchar(5) NULL,
    title_1 varchar(30) NULL,
    last_update datetime NULL,
    is_deleted tinyint NOT NULL DEFAULT 0,
    flag1 int NOT NULL DEFAULT 0,
    flag2 int NOT NULL DEFAULT 0,
    string1 varchar(50) NULL,
    string2 varchar(255) NULL,
    date1 datetime NULL,
    partition_id int NOT NULL DEFAULT 0,
    flag3 int NOT NULL DEFAULT 0
)
CREATE TABLE Physician_membership (
    physician_id int NOT NULL,
    hosp_acct_id int NOT NULL,
    flag1 int NOT NULL DEFAULT 0,
    flag2 int NOT NULL DEFAULT 0,
    PRIMARY KEY (physician_id, hosp_acct_id)
)
CREATE TABLE Physician_attributes (
    physician_id int NOT NULL,
    hosp_acct_id int NOT NULL,
    dept_id int NOT NULL DEFAULT 0,
    flag1 int NOT NULL DEFAULT 0,
    title_2 varchar(30) NULL,
    title_3 varchar(30) NULL,
    title_4 varchar(30) NULL,
    title_5 varchar(30) NULL,
    title_6 varchar(30) NULL,
    dictation_id varchar(20) NULL,
    mis_nbr_1 varchar(20) NULL,
    mis_nbr_2 varchar(20) NULL,
    physician_type tinyint NOT NULL DEFAULT 0,
    phone_nbr_1 varchar(20) NULL,
    phone_nbr_2 varchar(20) NULL,
    address_1 varchar(50) NULL,
    address_2 varchar(50) NULL,
    address_3 varchar(50) NULL,
    city varchar(30) NULL,
    state varchar(20) NULL,
    country varchar(30) NULL,
    zip_code varchar(10) NULL,
    group_affiliation varchar(50) NULL,
    elect_signature tinyint NOT NULL DEFAULT 0,
    fax_nbr_1 varchar(20) NULL,
    fax_nbr_2 varchar(20) NULL,
    fax_enabled_1 tinyint NOT NULL DEFAULT 0,
    fax_enabled_2 tinyint NOT NULL DEFAULT 0,
    batch_enabled tinyint NOT NULL DEFAULT 0,
    email_enabled tinyint NOT NULL DEFAULT 0,
    online_enabled tinyint NOT NULL DEFAULT 0,
    fax_hour_1 tinyint NOT NULL DEFAULT 255,
    fax_minute_1 tinyint NOT NULL DEFAULT 255,
    fax_hour_2 tinyint NOT NULL DEFAULT 255,
    fax_minute_2 tinyint NOT NULL DEFAULT 255,
    fax_days_1 varbinary(8) NULL,
    fax_days_2 varbinary(8) NULL,
    fax_includes_1 varbinary(32) NULL,
    fax_includes_2 varbinary(32) NULL,
    online_queue varchar(100) NULL,
    batch_queue varchar(100) NULL,
    batch_includes varbinary(32) NULL,
    online_includes varbinary(32) NULL,
    email_includes varbinary(32) NULL,
    email_address varchar(100) NULL,
    email_type tinyint NOT NULL DEFAULT 0,
    flag2 int NOT NULL DEFAULT 0,
    flag3 int NOT NULL DEFAULT 0,
    flag4 int NOT NULL DEFAULT 0,
    flag5 int NOT NULL DEFAULT 0,
    flag6 int NOT NULL DEFAULT 0,
    flag7 int NOT NULL DEFAULT 0,
    string1 varchar(255) NULL,
    string2 varchar(255) NULL
)
CREATE INDEX ix_phys_attr ON Physician_attributes (physician_id, hosp_acct_id)
CREATE TABLE Physician_attributes_extended (
    physician_id int NOT NULL,
    hosp_acct_id int NOT NULL,
    default_input_method tinyint NOT NULL DEFAULT 0,
    speech_rec_enabled tinyint NOT NULL DEFAULT 0,
    speech_rec_includes varbinary(32) NULL,
    speech_rec_specific_worktypes varchar(255) NULL,
    flag1 int NOT NULL DEFAULT 0,
    flag2 int NOT NULL DEFAULT 0,
    flag3 int NOT NULL DEFAULT 0,
    flag4 int NOT NULL DEFAULT 0,
    flag5 int NOT NULL DEFAULT 0,
    string1 varchar(255) NULL,
    string2 varchar(255) NULL,
    date1 datetime NULL
)
CREATE TABLE Physician_addendums_v2 (
    physician_id int NOT NULL,
    hosp_acct_id int NOT NULL,
    addendum_nbr smallint NOT NULL,
    addendum varchar(255) NULL
)
CREATE TABLE Physician_weighting (
    physician_id int NOT NULL,
    hosp_acct_id int NOT NULL,
    report_type_nbr int NOT NULL,
    weight_type tinyint NOT NULL,
    weight_value real NOT NULL
)
CREATE TABLE Physician_external_ids (
    physician_id int NOT NULL,
    source_id varchar(30) NOT NULL,
    source_physician_id varchar(50) NOT NULL,
    source_type tinyint NOT NULL,
    sort_order smallint NOT NULL DEFAULT 0
)
-- The duplicate-id look-up of the profile editor finds ids by value among every physician.
CREATE INDEX ix_phys_ext_id ON Physician_external_ids (source_physician_id, source_type)
CREATE TABLE Physician_unknowns (
    value varchar(100) NOT NULL,
    user_id int NOT NULL,
    hosp_acct_id int NOT NULL,
    document_id int NOT NULL,
    date_timestamp datetime NOT NULL
)
CREATE TABLE Groups_physicians (
    group_id int NOT NULL,
    physician_id int NOT NULL,
    hosp_acct_id int NOT NULL
)
CREATE TABLE Dictation_contexts (
    context_id int NOT NULL PRIMARY KEY,
    context_name varchar(50) NOT NULL,
    context_description varchar(100) NULL,
    is_deleted tinyint NOT NULL DEFAULT 0
)
GO

-- Documents, outputs, dictation jobs ----------------------------------------------------------------
CREATE TABLE Document_demographics (
    document_id int NOT NULL PRIMARY KEY,
    hosp_acct_id int NOT NULL,
    dept_id int NOT NULL DEFAULT 0,
    report_type_nbr int NOT NULL,
    patient_last varchar(30) NULL,
    patient_first varchar(30) NULL,
    patient_id varchar(20) NULL,
    dictation_nbr varchar(20) NULL,
    dictating_name varchar(60) NULL,
    physician_id int NULL,
    trans_id varchar(8) NULL,
    create_date datetime NOT NULL,
    transcribed_date datetime NULL,
    suspension_type tinyint NOT NULL DEFAULT 0,
    orig_batch_flag tinyint NOT NULL DEFAULT 0,
    orig_record_timestamp datetime NULL
)
CREATE TABLE Report_transcription (
    document_id int NOT NULL,
    create_date datetime NOT NULL,
    edit_trans_id varchar(8) NULL,
    lines decimal(10,2) NOT NULL DEFAULT 0
)
CREATE TABLE Output_queue (
    output_identifier int NOT NULL PRIMARY KEY,
    document_id int NOT NULL,
    hosp_acct_id int NOT NULL,
    physician_id int NULL,
    trans_id varchar(8) NULL,
    create_date datetime NULL,
    output_type smallint NOT NULL,
    flag1 int NOT NULL DEFAULT 0,
    output_time datetime NULL,
    known_status smallint NOT NULL DEFAULT 0,
    error_code int NOT NULL DEFAULT 0,
    first_name varchar(30) NULL,
    last_name varchar(30) NULL,
    batch_identifier int NULL,
    batch_type smallint NULL,
    batch_nbr int NULL,
    group_nbr int NULL,
    print_queue varchar(100) NULL,
    phys_print_queue varchar(100) NULL,
    time_to_send datetime NULL,
    fax_nbr varchar(30) NULL,
    fax_filename varchar(255) NULL,
    sent_by_name varchar(60) NULL,
    record_timestamp datetime NULL,
    output_create_timestamp datetime NOT NULL,
    copy_flag tinyint NOT NULL DEFAULT 0,
    flag3 int NOT NULL DEFAULT 0
)
CREATE INDEX ix_output_time ON Output_queue (output_create_timestamp)
CREATE INDEX ix_output_doc ON Output_queue (document_id)
CREATE TABLE Output_reports_cfg (
    user_id int NOT NULL PRIMARY KEY,
    hosp_acct_id int NOT NULL DEFAULT -1,
    report_type_nbr int NOT NULL DEFAULT -1,
    output_type_filter smallint NOT NULL DEFAULT 0,
    date_type smallint NOT NULL DEFAULT 0,
    results_limit int NOT NULL DEFAULT 50,
    date_range smallint NOT NULL DEFAULT 0,
    start_date datetime NULL,
    end_date datetime NULL,
    string1 varchar(255) NULL
)
CREATE TABLE Dictation_jobs_complete (
    job_id int NOT NULL PRIMARY KEY,
    source_department varchar(50) NULL,
    source_work_type int NULL,
    source_type smallint NOT NULL DEFAULT 4,
    hosp_acct_id int NULL,
    report_type_nbr int NULL,
    dictated_datetime datetime NULL,
    date1 datetime NULL,
    source_file_purged tinyint NOT NULL DEFAULT 0,
    eflag3 int NOT NULL DEFAULT 0,
    initial_hosp_acct_id int NULL,
    initial_report_type_nbr int NULL
)
CREATE TABLE Dictation_purge_criteria (
    source_department varchar(50) NULL,
    source_work_types varchar(255) NULL,
    hosp_acct_id int NOT NULL DEFAULT -1,
    report_types varchar(255) NULL,
    date_type smallint NOT NULL DEFAULT 0,
    default_criteria smallint NOT NULL DEFAULT 0,
    nbr_days int NOT NULL DEFAULT 7,
    source_type smallint NOT NULL DEFAULT -1,
    flag1 int NOT NULL DEFAULT 0,
    flag2 int NOT NULL DEFAULT 0,
    flag3 int NOT NULL DEFAULT 0,
    flag4 int NOT NULL DEFAULT 0,
    string1 varchar(255) NULL,
    string2 varchar(255) NULL,
    string3 varchar(255) NULL,
    date1 datetime NULL
)
CREATE TABLE Dictation_purge_queue (
    job_id int NOT NULL,
    queue_datetime datetime NOT NULL,
    flag1 int NOT NULL DEFAULT 0,
    flag2 int NOT NULL DEFAULT 0,
    flag3 int NOT NULL DEFAULT 0,
    flag4 int NOT NULL DEFAULT 0,
    string1 varchar(255) NULL,
    string2 varchar(255) NULL,
    date1 datetime NULL
)
-- The purge procedure's blocks pick jobs by age and test the queue for each one.
CREATE INDEX ix_purge_queue_job ON Dictation_purge_queue (job_id)
CREATE INDEX ix_jobs_complete_date1 ON Dictation_jobs_complete (date1)
CREATE INDEX ix_jobs_complete_dictated ON Dictation_jobs_complete (dictated_datetime)
GO

-- Printers ------------------------------------------------------------------------------------------
CREATE TABLE System_printers (
    printer_id int NOT NULL PRIMARY KEY,
    description varchar(50) NOT NULL,
    print_queue varchar(100) NULL,
    summary_font varchar(50) NULL,
    summary_size smallint NOT NULL DEFAULT 10,
    banner_bin tinyint NOT NULL DEFAULT 0,
    summary_bin tinyint NOT NULL DEFAULT 0,
    save_type tinyint NOT NULL DEFAULT 0,
    save_to_directory varchar(255) NULL,
    default_bin tinyint NOT NULL DEFAULT 0,
    default_footer_type tinyint NOT NULL DEFAULT 0,
    default_print_macro varchar(100) NULL,
    flag1 int NOT NULL DEFAULT 0,
    flag2 int NOT NULL DEFAULT 0,
    string1 varchar(255) NULL,
    date1 datetime NULL,
    string2 varchar(255) NULL,
    string3 varchar(255) NULL
)
CREATE TABLE System_printers_extended (
    printer_id int NOT NULL PRIMARY KEY,
    orig_default_bin tinyint NOT NULL DEFAULT 0,
    orig_default_footer_type tinyint NOT NULL DEFAULT 0,
    orig_default_print_macro varchar(100) NULL,
    orig_footer_format int NOT NULL DEFAULT 0,
    flag1 int NOT NULL DEFAULT 0,
    flag2 int NOT NULL DEFAULT 0,
    flag3 int NOT NULL DEFAULT 0,
    flag4 int NOT NULL DEFAULT 0,
    flag5 int NOT NULL DEFAULT 0,
    string1 varchar(255) NULL,
    string2 varchar(255) NULL,
    string3 varchar(255) NULL,
    date1 datetime NULL,
    date2 datetime NULL
)
CREATE TABLE System_printer_formats (
    custom_format_id int NOT NULL PRIMARY KEY,
    format_description varchar(255) NOT NULL,
    flag1 int NOT NULL DEFAULT 0,
    flag2 int NOT NULL DEFAULT 0,
    string1 varchar(255) NULL,
    string2 varchar(255) NULL,
    date1 datetime NULL
)
CREATE TABLE System_printer_privileges (
    user_id int NOT NULL,
    printer_id int NOT NULL,
    copy_access tinyint NOT NULL DEFAULT 0,
    orig_access tinyint NOT NULL DEFAULT 0,
    flag1 int NOT NULL DEFAULT 0,
    flag2 int NOT NULL DEFAULT 0,
    flag3 int NOT NULL DEFAULT 0,
    flag4 int NOT NULL DEFAULT 0,
    flag5 int NOT NULL DEFAULT 0,
    flag6 int NOT NULL DEFAULT 0,
    string1 varchar(255) NULL,
    string2 varchar(255) NULL
)
GO

-- Database maintenance -----------------------------------------------------------------------------
CREATE TABLE Archive_cfg (
    purge_enabled tinyint NOT NULL DEFAULT 0,
    purge_non_archived tinyint NOT NULL DEFAULT 0,
    purge_log_level tinyint NOT NULL DEFAULT 0,
    purge_last_user_id int NULL,
    purge_last_time datetime NULL,
    migrate_enabled tinyint NOT NULL DEFAULT 0,
    migrate_use_signed tinyint NOT NULL DEFAULT 0,
    migrate_min_days int NOT NULL DEFAULT 30,
    migrate_max_days int NOT NULL DEFAULT 30,
    migrate_max12_date datetime NULL,
    migrate_leftover_directory varchar(255) NULL,
    migrate_log_level tinyint NOT NULL DEFAULT 0,
    migrate_last_user_id int NULL,
    migrate_last_time datetime NULL,
    archive_enabled tinyint NOT NULL DEFAULT 0,
    archive_max_months smallint NOT NULL DEFAULT 24,
    archive_log_level tinyint NOT NULL DEFAULT 0,
    archive_last_user_id int NULL,
    archive_last_time datetime NULL,
    update_enabled tinyint NOT NULL DEFAULT 1,
    frequency tinyint NOT NULL DEFAULT 0,
    hour tinyint NOT NULL DEFAULT 2,
    minute tinyint NOT NULL DEFAULT 0,
    day tinyint NOT NULL DEFAULT 1,
    flag1 int NOT NULL DEFAULT 0,
    flag2 int NOT NULL DEFAULT 30,
    flag3 int NOT NULL DEFAULT 0,
    flag4 int NOT NULL DEFAULT 0,
    flag5 int NOT NULL DEFAULT 1
)
CREATE TABLE Archive_disks (
    disk_nbr int NOT NULL PRIMARY KEY,
    disk_label varchar(50) NOT NULL,
    disk_location varchar(255) NOT NULL,
    last_write_time datetime NULL,
    date_range_begin datetime NULL,
    date_range_end datetime NULL,
    hosp_acct_id int NOT NULL DEFAULT -1,
    reports int NOT NULL DEFAULT 0,
    flag1 int NOT NULL DEFAULT 0,
    is_active tinyint NOT NULL DEFAULT 0,
    is_deleted tinyint NOT NULL DEFAULT 0,
    flag2 int NOT NULL DEFAULT 0,
    flag3 int NOT NULL DEFAULT 0,
    string1 varchar(255) NULL,
    string2 varchar(255) NULL,
    date1 datetime NULL
)
CREATE TABLE Archive_table_purging (
    hosp_acct_id int NOT NULL PRIMARY KEY,
    length_output_queue int NOT NULL DEFAULT 0,
    length_system_log int NOT NULL DEFAULT 0,
    length_trans_stats int NOT NULL DEFAULT 0,
    length_document_info int NOT NULL DEFAULT 0,
    length_edit_history int NOT NULL DEFAULT 0,
    extra1 int NOT NULL DEFAULT 0,
    extra2 int NOT NULL DEFAULT 0,
    extra3 int NOT NULL DEFAULT 0,
    extra4 int NOT NULL DEFAULT 0,
    extra5 int NOT NULL DEFAULT 0,
    extra6 int NOT NULL DEFAULT 0,
    extra7 int NOT NULL DEFAULT 0,
    flag1 int NOT NULL DEFAULT 0,
    string1 varchar(255) NULL,
    date1 datetime NULL
)
CREATE TABLE Archive_stats (
    purge_date datetime NULL,
    purged_doc_info_recs int NOT NULL DEFAULT 0,
    purged_output_queue_recs int NOT NULL DEFAULT 0,
    purged_report_trans_recs int NOT NULL DEFAULT 0,
    purged_system_log_recs int NOT NULL DEFAULT 0,
    purged_document_recs int NOT NULL DEFAULT 0,
    file_server_files_purged int NOT NULL DEFAULT 0,
    est_reports_on_server int NOT NULL DEFAULT 0,
    stat1 int NOT NULL DEFAULT 0
)
GO

-- Logs ------------------------------------------------------------------------------------------------
-- 26 columns, written positionally by the console's event writer. The output log's fax resend
-- writes its 25 values with a column list (see docs/suite-schema.md).
CREATE TABLE System_log (
    date_timestamp datetime NOT NULL,
    severity smallint NOT NULL,
    type smallint NOT NULL,
    user_id int NULL,
    error_code int NOT NULL DEFAULT 0,
    hosp_acct_id int NULL,
    schedule_id int NULL,
    batch_nbr int NULL,
    flag1 int NULL,
    physician_id int NULL,
    document_id int NULL,
    flag2 int NULL,
    flag3 int NULL,
    flag4 int NULL,
    flag5 int NULL,
    flag6 int NULL,
    partition_id int NULL,
    string1 varchar(100) NULL,
    string2 varchar(100) NULL,
    date1 datetime NULL,
    string3 varchar(100) NULL,
    msg1 varchar(100) NULL,
    msg2 varchar(100) NULL,
    msg3 varchar(100) NULL,
    msg4 varchar(100) NULL,
    msg5 varchar(100) NULL
)
CREATE INDEX ix_log_date ON System_log (date_timestamp)
CREATE TABLE System_log_views (
    user_id int NOT NULL,
    view_id int NOT NULL,
    view_name varchar(50) NOT NULL
)
CREATE TABLE System_log_view_filters (
    user_id int NOT NULL,
    view_id int NOT NULL,
    filter_type smallint NOT NULL,
    filter_value varchar(255) NULL
)
CREATE TABLE System_log_view_columns (
    user_id int NOT NULL,
    view_id int NOT NULL,
    column_nbr smallint NOT NULL,
    column_width int NOT NULL DEFAULT 0
)
GO

-- Linked voice systems --------------------------------------------------------------------------
CREATE TABLE voice_systems (
    system_id tinyint NOT NULL PRIMARY KEY,
    system_name varchar(50) NOT NULL,
    connection_type tinyint NOT NULL DEFAULT 0,
    server_name varchar(100) NULL,
    database_name varchar(100) NULL,
    user_name varchar(50) NULL,
    password_name varchar(100) NULL,
    connection_string varchar(500) NULL,
    admin_user_id int NULL,
    admin_facility int NULL,
    admin_password varchar(100) NULL,
    flag1 tinyint NOT NULL DEFAULT 0,
    flag2 tinyint NOT NULL DEFAULT 0,
    flag3 tinyint NOT NULL DEFAULT 0,
    flag4 tinyint NOT NULL DEFAULT 0,
    string1 varchar(255) NULL,
    string2 varchar(255) NULL,
    string3 varchar(255) NULL,
    date1 datetime NULL
)
CREATE TABLE voice_facility_links (
    system_id tinyint NOT NULL,
    facility int NOT NULL,
    hosp_acct_id int NOT NULL,
    flag1 tinyint NOT NULL DEFAULT 0,
    flag2 tinyint NOT NULL DEFAULT 0,
    flag3 tinyint NOT NULL DEFAULT 0,
    flag4 tinyint NOT NULL DEFAULT 0,
    string1 varchar(255) NULL,
    string2 varchar(255) NULL,
    string3 varchar(255) NULL,
    date1 datetime NULL,
    PRIMARY KEY (system_id, facility, hosp_acct_id)
)
GO

-- Update stamps the suite's workstations compare at log-in (written by pc_update).
CREATE TABLE System_pc_updates (
    update_type int NOT NULL PRIMARY KEY,
    update_datetime datetime NOT NULL,
    flag1 int NOT NULL DEFAULT 0
)
GO
