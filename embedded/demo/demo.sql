-- The demo site: a two-region hospital group. Placeholders {{PASSWORD:text}} are replaced by the
-- login component's stored form of the text before the script runs.

-- Partitions: root, two regions, hospitals and clinics below them, one closed division.
INSERT System_partitions VALUES (1, 0, 'North Region', 0, '/0/1/', NULL)
INSERT System_partitions VALUES (2, 0, 'South Region', 0, '/0/2/', NULL)
INSERT System_partitions VALUES (3, 1, 'North General Hospital', 1, '/0/1/3/', NULL)
INSERT System_partitions VALUES (4, 1, 'North Clinics', 0, '/0/1/4/', NULL)
INSERT System_partitions VALUES (5, 2, 'South Medical Center', 2, '/0/2/5/', NULL)
INSERT System_partitions VALUES (6, 5, 'Cardiology Group', 0, '/0/2/5/6/', NULL)
INSERT System_partitions VALUES (7, 0, 'Closed Division', 0, '/0/7/', '2025-06-30')
INSERT System_partitions_shares VALUES (3, 4)
INSERT System_partitions_shares VALUES (5, 6)
GO

-- Report types every new account receives.
INSERT Reports_cfg (hosp_acct_id, dept_id, report_type_nbr, report_version_nbr, report_name, billing_linecount_cfg, payroll_linecount_cfg) VALUES (-1, 0, 1, 0, 'History and Physical', 1, 1)
INSERT Reports_cfg (hosp_acct_id, dept_id, report_type_nbr, report_version_nbr, report_name, billing_linecount_cfg, payroll_linecount_cfg) VALUES (-1, 0, 2, 0, 'Consultation', 1, 1)
INSERT Reports_cfg (hosp_acct_id, dept_id, report_type_nbr, report_version_nbr, report_name, billing_linecount_cfg, payroll_linecount_cfg) VALUES (-1, 0, 3, 0, 'Discharge Summary', 1, 2)
INSERT Reports_cfg (hosp_acct_id, dept_id, report_type_nbr, report_version_nbr, report_name, billing_linecount_cfg, payroll_linecount_cfg) VALUES (-1, 0, 4, 0, 'Operative Report', 1, 2)
INSERT Reports_cfg (hosp_acct_id, dept_id, report_type_nbr, report_version_nbr, report_name, billing_linecount_cfg, payroll_linecount_cfg) VALUES (-1, 0, 5, 0, 'Radiology Report', 0, 0)
INSERT Reports_cfg (hosp_acct_id, dept_id, report_type_nbr, report_version_nbr, report_name, billing_linecount_cfg, payroll_linecount_cfg) VALUES (-1, 0, 6, 0, 'Progress Note', 0, 0)
INSERT Suspension_types VALUES (-1, 21, 0, 'Awaiting Pathology')
INSERT Pause_types VALUES (-1, 4, 'Equipment Problem', 2, 1, 1)
INSERT Linecount_cfg (config_id, config_name, lc_line_length, cc_line_length) VALUES (1, 'Standard 65 Character', 65, 65)
INSERT Linecount_cfg (config_id, config_name, lc_line_length, cc_line_length, lc_weight_value) VALUES (2, 'Gross Line Count', 80, 80, 110)
GO

-- Accounts, created the way the account manager creates them.
EXEC account_check 1
UPDATE Account_info SET hosp_acct_name = 'North General Inpatient', hosp_acct_description = 'North General Hospital', contact = 'Helen Park', city = 'Northfield', state = 'MN', zip_code = '55057', phone_nbr_1 = '507-555-0110', email_type = 0, amount_per_line = 0.1150, partition_id = 3, is_deleted = 0 WHERE hosp_acct_id = 1
EXEC account_check 2
UPDATE Account_info SET hosp_acct_name = 'North General Radiology', hosp_acct_description = 'North General Hospital', contact = 'Paul Ortiz', city = 'Northfield', state = 'MN', zip_code = '55057', email_type = 1, amount_per_line = 0.1200, partition_id = 3, is_deleted = 0 WHERE hosp_acct_id = 2
EXEC account_check 3
UPDATE Account_info SET hosp_acct_name = 'North General Emergency', hosp_acct_description = 'North General Hospital', city = 'Northfield', state = 'MN', amount_per_line = 0.1250, partition_id = 3, is_deleted = 0 WHERE hosp_acct_id = 3
EXEC account_check 4
UPDATE Account_info SET hosp_acct_name = 'Lakeside Clinic', hosp_acct_description = 'Lakeside Family Clinic', contact = 'Dana Webb', city = 'Lakeville', state = 'MN', amount_per_line = 0.1000, partition_id = 4, is_deleted = 0 WHERE hosp_acct_id = 4
EXEC account_check 5
UPDATE Account_info SET hosp_acct_name = 'Hillcrest Clinic', hosp_acct_description = 'Hillcrest Medical Clinic', city = 'Hillcrest', state = 'MN', amount_per_line = 0.1000, partition_id = 4, is_deleted = 0 WHERE hosp_acct_id = 5
EXEC account_check 6
UPDATE Account_info SET hosp_acct_name = 'South Medical Inpatient', hosp_acct_description = 'South Medical Center', contact = 'Irene Cole', city = 'Southport', state = 'IA', amount_per_line = 0.1175, partition_id = 5, is_deleted = 0 WHERE hosp_acct_id = 6
EXEC account_check 7
UPDATE Account_info SET hosp_acct_name = 'South Medical Outpatient', hosp_acct_description = 'South Medical Center', city = 'Southport', state = 'IA', amount_per_line = 0.1100, partition_id = 5, is_deleted = 0 WHERE hosp_acct_id = 7
EXEC account_check 8
UPDATE Account_info SET hosp_acct_name = 'South Imaging', hosp_acct_description = 'South Medical Center Imaging', city = 'Southport', state = 'IA', email_type = 1, amount_per_line = 0.1300, partition_id = 5, is_deleted = 0 WHERE hosp_acct_id = 8
EXEC account_check 9
UPDATE Account_info SET hosp_acct_name = 'Heart Institute', hosp_acct_description = 'South Heart Institute', contact = 'Omar Reyes', city = 'Southport', state = 'IA', amount_per_line = 0.1400, partition_id = 6, is_deleted = 0 WHERE hosp_acct_id = 9
EXEC account_check 10
UPDATE Account_info SET hosp_acct_name = 'Vascular Lab', hosp_acct_description = 'South Heart Institute', city = 'Southport', state = 'IA', amount_per_line = 0.1400, partition_id = 6, is_deleted = 0 WHERE hosp_acct_id = 10
EXEC account_check 11
UPDATE Account_info SET hosp_acct_name = 'Regional Business Office', hosp_acct_description = 'Group business office', city = 'Northfield', state = 'MN', amount_per_line = 0.0900, partition_id = 0, is_deleted = 0 WHERE hosp_acct_id = 11
EXEC account_check 12
UPDATE Account_info SET hosp_acct_name = 'Westside Hospital (closed)', hosp_acct_description = 'Westside Hospital', city = 'Westbury', state = 'MN', partition_id = 0, is_deleted = 1 WHERE hosp_acct_id = 12
UPDATE Account_info SET hospital_id_filter = 'NGH,NGR', upload_filter = '1,2' WHERE hosp_acct_id = 1
GO

-- Printers, footer formats, batches.
INSERT System_printers VALUES (1, 'Medical Records Laser', 'MRLASER1', 'Courier New', 10, 1, 1, 0, '', 2, 1, '', 0, 0, NULL, NULL, 'EnvDefault.doc', '')
INSERT System_printers VALUES (2, 'Radiology Printer', 'RADPRN', 'Courier New', 9, 0, 0, 0, '', 1, 0, '', 1, 0, NULL, NULL, 'EnvDefault.doc', '')
INSERT System_printers VALUES (3, 'FAX Server', 'FAXSRV', 'Courier New', 10, 0, 0, 0, '', 0, 0, '', 0, 0, NULL, NULL, 'EnvDefault.doc', '')
INSERT System_printers VALUES (4, 'Cardiology Office', 'CARDOFC', 'Arial', 11, 2, 2, 0, '', 2, 2, 'CARDMACRO', 2, 3, NULL, NULL, 'EnvLetter.doc', 'ENVPRINT')
INSERT System_printers VALUES (5, 'Archive Files', '', 'Courier New', 10, 0, 0, 1, '/var/spool/kaldra/archive', 0, 0, '', 0, 0, NULL, NULL, 'EnvDefault.doc', '')
INSERT System_printers_extended VALUES (1, 3, 1, '', 1, 0, 0, 0, 0, 0, NULL, NULL, NULL, NULL, NULL)
INSERT System_printers_extended VALUES (4, 3, 2, 'ORIGMACRO', 2, 0, 0, 0, 0, 0, NULL, NULL, NULL, NULL, NULL)
INSERT System_printers_extended VALUES (2, 0, 0, '', 0, 0, 0, 0, 0, 0, NULL, NULL, NULL, NULL, NULL)
INSERT System_printers_extended VALUES (3, 0, 0, '', 0, 0, 0, 0, 0, 0, NULL, NULL, NULL, NULL, NULL)
INSERT System_printers_extended VALUES (5, 0, 0, '', 0, 0, 0, 0, 0, 0, NULL, NULL, NULL, NULL, NULL)
INSERT System_printer_formats VALUES (1, 'Dictated by <Last, First, Title>', 0, 0, NULL, NULL, NULL)
INSERT System_printer_formats VALUES (2, 'Electronically signed by <First Last, Title>', 0, 0, NULL, NULL, NULL)
INSERT Batch_cfg VALUES (1, 'Medical Records Print', 1, 1, 1, 4410, 1, 38, 38, 1, DATEADD(hour, -10, GETDATE()), 0, 1)
INSERT Batch_cfg VALUES (1, 'Physician Fax', 2, 3, 3, 4411, 1, 12, 11, 1, DATEADD(hour, -9, GETDATE()), 0, 1)
INSERT Batch_cfg VALUES (6, 'Nightly Chart Copies', 1, 1, 1, 5120, 1, 55, 55, 1, DATEADD(hour, -8, GETDATE()), 0, 1)
INSERT Batch_cfg VALUES (9, 'Cardiology Email', 1, 4, NULL, 880, 0, 6, 0, 1, DATEADD(hour, -2, GETDATE()), 0, 1)
INSERT Batch_groups_cfg VALUES (1, 1, 1, 'Floor 2', 1, 0)
INSERT Batch_groups_cfg VALUES (1, 1, 2, 'Floor 3', 1, 0)
INSERT Batch_groups_cfg VALUES (6, 1, 1, 'Records Office', 4, 0)
INSERT Batch_fields VALUES (1, 'patient_last', 'Patient Last Name', 1, 0, NULL, NULL, NULL, NULL)
INSERT Batch_fields VALUES (2, 'patient_id', 'Medical Record Number', 1, 0, NULL, NULL, NULL, NULL)
INSERT Batch_fields VALUES (3, 'dictating_name', 'Dictating Physician', 2, 0, NULL, NULL, 1, 20)
GO

-- Policies.
INSERT INTO System_user_policies (policy_id, policy_name, permit_blank_password, case_sensitive_password, minimum_password_length, require_alpha_numeric, allow_password_change, password_expiration_days, system_unique_password, keep_password_history, password_history_length, inactivity_timeout, intruder_detection_enabled, maximum_login_attempts, lockout_duration, last_datetime, last_user, flag1, flag2, flag3, string1, string2, date1, signature_password_expiration_days, signature_password_mode, flag4, flag5, flag6, flag7)
VALUES (1, 'Clinical Staff', 0, 1, 8, 1, 1, 90, 0, 0, 3, 0, 1, 3, 30, GETDATE(), 1, 0, 0, 3, '', '', NULL, 90, 1, 6, 1, 3, 5)
INSERT INTO System_user_policies (policy_id, policy_name, permit_blank_password, case_sensitive_password, minimum_password_length, require_alpha_numeric, allow_password_change, password_expiration_days, system_unique_password, keep_password_history, password_history_length, inactivity_timeout, intruder_detection_enabled, maximum_login_attempts, lockout_duration, last_datetime, last_user, flag1, flag2, flag3, string1, string2, date1, signature_password_expiration_days, signature_password_mode, flag4, flag5, flag6, flag7)
VALUES (2, 'Directory Log-in', 0, 0, 6, 0, 0, 0, 0, 0, 3, 0, 1, 5, 60, GETDATE(), 1, 0, 2, 0, '', 'ldap.example.org????ou=staff,dc=example,dc=org?389?False?-1?-1?10?', NULL, 0, 0, 4, 0, 0, 0)
GO

-- Users: the built-in ones, administrators of each kind, transcriptionists, physician users.
INSERT System_user_bindery (user_id, user_name, password, first_name, last_name, description, trans_id, last_access_datetime, user_group_id, enabled, locked_out, is_administrator, password_changed_datetime, must_change_password, nbr_bad_attempts, last_attempt_datetime, can_change_password, privilege_set1, privilege_set2, flag1, flag2, flag3, flag4, string1, string2, date1, is_deleted, partition_id, is_shared, must_change_signature_password, signature_password)
VALUES (0, 'VTSUPPORT', 0x{{PASSWORD:support}}, 'Technical', 'Support', NULL, NULL, NULL, 0, 1, 0, 1, GETDATE(), 0, 0, NULL, 1, NULL, NULL, 0, 3, 0, 0, '', NULL, NULL, 0, 0, 0, 0, NULL)
INSERT System_user_bindery (user_id, user_name, password, first_name, last_name, description, trans_id, last_access_datetime, user_group_id, enabled, locked_out, is_administrator, password_changed_datetime, must_change_password, nbr_bad_attempts, last_attempt_datetime, can_change_password, privilege_set1, privilege_set2, flag1, flag2, flag3, flag4, string1, string2, date1, is_deleted, partition_id, is_shared, must_change_signature_password, signature_password)
VALUES (1, 'ADMINISTRATOR', 0x{{PASSWORD:demo}}, 'System', 'Administrator', NULL, NULL, DATEADD(hour, -20, GETDATE()), 0, 1, 0, 1, GETDATE(), 0, 0, NULL, 1, NULL, NULL, 0, 3, 0, 0, '', NULL, NULL, 0, 0, 0, 0, NULL)
INSERT System_user_bindery (user_id, user_name, password, first_name, last_name, description, trans_id, last_access_datetime, user_group_id, enabled, locked_out, is_administrator, password_changed_datetime, must_change_password, nbr_bad_attempts, last_attempt_datetime, can_change_password, privilege_set1, privilege_set2, flag1, flag2, flag3, flag4, string1, string2, date1, is_deleted, partition_id, is_shared, must_change_signature_password, signature_password)
VALUES (2, 'VTTECH', 0x{{PASSWORD:support}}, 'Field', 'Technician', NULL, NULL, NULL, 0, 1, 0, 1, GETDATE(), 0, 0, NULL, 1, NULL, NULL, 0, 3, 0, 0, '', NULL, NULL, 0, 0, 0, 0, NULL)
GO

DECLARE @all_on varchar(160), @some varchar(160)
SET @all_on = REPLICATE(CHAR(2), 160)
SET @some = REPLICATE(CHAR(2), 40) + REPLICATE(CHAR(1), 120)
-- user_id, user_name, first, last, trans_id, is_admin, flag2 (admin kinds), flag1 (physician), flag4 (policy), partition, shared, enabled, locked, deleted, privileges
INSERT System_user_bindery (user_id, user_name, password, first_name, last_name, trans_id, enabled, locked_out, is_administrator, password_changed_datetime, must_change_password, can_change_password, privilege_set1, flag1, flag2, flag3, flag4, string1, is_deleted, partition_id, is_shared, last_access_datetime)
SELECT 100, 'MGARCIA', 0x{{PASSWORD:demo}}, 'Maria', 'Garcia', NULL, 1, 0, 1, GETDATE(), 0, 1, @all_on, 0, 0, 0, 1, '', 0, 0, 0, DATEADD(hour, -3, GETDATE())
INSERT System_user_bindery (user_id, user_name, password, first_name, last_name, trans_id, enabled, locked_out, is_administrator, password_changed_datetime, must_change_password, can_change_password, privilege_set1, flag1, flag2, flag3, flag4, string1, is_deleted, partition_id, is_shared, last_access_datetime)
SELECT 101, 'TLEE', 0x{{PASSWORD:demo}}, 'Thomas', 'Lee', NULL, 1, 0, 0, GETDATE(), 0, 1, @some, 0, 1, 0, 1, '', 0, 3, 0, DATEADD(day, -1, GETDATE())
INSERT System_user_bindery (user_id, user_name, password, first_name, last_name, trans_id, enabled, locked_out, is_administrator, password_changed_datetime, must_change_password, can_change_password, privilege_set1, flag1, flag2, flag3, flag4, string1, is_deleted, partition_id, is_shared, last_access_datetime)
SELECT 102, 'RPATEL', 0x{{PASSWORD:demo}}, 'Rina', 'Patel', NULL, 1, 0, 0, GETDATE(), 0, 1, @some, 0, 2, 0, 1, '', 0, 5, 0, DATEADD(day, -2, GETDATE())
INSERT System_user_bindery (user_id, user_name, password, first_name, last_name, trans_id, enabled, locked_out, is_administrator, password_changed_datetime, must_change_password, can_change_password, privilege_set1, flag1, flag2, flag3, flag4, string1, is_deleted, partition_id, is_shared, last_access_datetime)
SELECT 103, 'KNGUYEN', 0x{{PASSWORD:demo}}, 'Kim', 'Nguyen', NULL, 1, 0, 0, GETDATE(), 1, 1, @some, 0, 3, 0, 1, '', 0, 1, 0, NULL
GO

-- Transcriptionists (user name = trans id) and their records.
INSERT Trans_info (trans_id, trans_type, first_name, last_name, initials, location_code, dictation_id, mis_nbr, account_disabled, supervisor, last_access, extra1, extra2, extra3, extra4, extra5, extra6, extra7, is_deleted) VALUES ('MJONES', 1, 'Mary', 'Jones', 'MJ', 'NGH', '4101', 'T101', 0, 1, NULL, 0, 0, 3, 0, 0, 0, 0, 0)
INSERT Trans_info (trans_id, trans_type, first_name, last_name, initials, location_code, dictation_id, mis_nbr, account_disabled, supervisor, last_access, extra1, extra2, extra3, extra4, extra5, extra6, extra7, is_deleted) VALUES ('ASMITH', 1, 'Anne', 'Smith', 'AS', 'NGH', '4102', 'T102', 0, 0, NULL, 1, 1, 3, 0, 0, 0, 0, 0)
INSERT Trans_info (trans_id, trans_type, first_name, last_name, initials, location_code, dictation_id, mis_nbr, account_disabled, supervisor, last_access, extra1, extra2, extra3, extra4, extra5, extra6, extra7, is_deleted) VALUES ('BWILSON', 1, 'Brian', 'Wilson', 'BW', 'HOME', '4103', 'T103', 0, 0, NULL, 0, 0, 3, 0, 0, 0, 0, 0)
INSERT Trans_info (trans_id, trans_type, first_name, last_name, initials, location_code, dictation_id, mis_nbr, account_disabled, supervisor, last_access, extra1, extra2, extra3, extra4, extra5, extra6, extra7, is_deleted) VALUES ('CDAVIS', 1, 'Carla', 'Davis', 'CD', 'SMC', '5101', 'T201', 0, 0, NULL, 1, 3, 5, 0, 0, 0, 0, 0)
INSERT Trans_info (trans_id, trans_type, first_name, last_name, initials, location_code, dictation_id, mis_nbr, account_disabled, supervisor, last_access, extra1, extra2, extra3, extra4, extra5, extra6, extra7, is_deleted) VALUES ('DMILLER', 1, 'David', 'Miller', 'DM', 'LAKE', '4201', 'T301', 0, 0, NULL, 0, 0, 4, 0, 0, 0, 0, 0)
INSERT Trans_info (trans_id, trans_type, first_name, last_name, initials, location_code, dictation_id, mis_nbr, account_disabled, supervisor, last_access, extra1, extra2, extra3, extra4, extra5, extra6, extra7, is_deleted) VALUES ('EFOSTER', 1, 'Ellen', 'Foster', 'EF', 'NGH', '4104', 'T104', 0, 0, NULL, 0, 0, 3, 0, 0, 0, 0, 1)
DECLARE @t varchar(160)
SET @t = REPLICATE(CHAR(2), 20) + REPLICATE(CHAR(1), 140)
INSERT System_user_bindery (user_id, user_name, password, first_name, last_name, trans_id, enabled, locked_out, is_administrator, password_changed_datetime, must_change_password, can_change_password, privilege_set1, flag1, flag2, flag3, flag4, string1, is_deleted, partition_id, is_shared, last_access_datetime)
SELECT 104, 'MJONES', 0x{{PASSWORD:demo}}, 'Mary', 'Jones', 'MJONES', 1, 0, 0, GETDATE(), 0, 1, @t, 0, 0, 0, 1, 'PROMPT.KDS', 0, 3, 1, DATEADD(hour, -1, GETDATE())
INSERT System_user_bindery (user_id, user_name, password, first_name, last_name, trans_id, enabled, locked_out, is_administrator, password_changed_datetime, must_change_password, can_change_password, privilege_set1, flag1, flag2, flag3, flag4, string1, is_deleted, partition_id, is_shared, last_access_datetime)
SELECT 105, 'ASMITH', 0x{{PASSWORD:demo}}, 'Anne', 'Smith', 'ASMITH', 1, 0, 0, GETDATE(), 0, 1, @t, 0, 0, 0, 1, 'RADIOLOGY.KDS', 0, 3, 0, DATEADD(hour, -5, GETDATE())
INSERT System_user_bindery (user_id, user_name, password, first_name, last_name, trans_id, enabled, locked_out, is_administrator, password_changed_datetime, must_change_password, can_change_password, privilege_set1, flag1, flag2, flag3, flag4, string1, is_deleted, partition_id, is_shared, last_access_datetime)
SELECT 106, 'BWILSON', 0x{{PASSWORD:demo}}, 'Brian', 'Wilson', 'BWILSON', 1, 1, 0, GETDATE(), 0, 1, @t, 0, 0, 0, 1, '', 0, 3, 0, DATEADD(day, -6, GETDATE())
INSERT System_user_bindery (user_id, user_name, password, first_name, last_name, trans_id, enabled, locked_out, is_administrator, password_changed_datetime, must_change_password, can_change_password, privilege_set1, flag1, flag2, flag3, flag4, string1, is_deleted, partition_id, is_shared, last_access_datetime)
SELECT 107, 'CDAVIS', 0x{{PASSWORD:demo}}, 'Carla', 'Davis', 'CDAVIS', 1, 0, 0, GETDATE(), 0, 1, @t, 0, 0, 0, 1, '', 0, 5, 0, DATEADD(hour, -30, GETDATE())
INSERT System_user_bindery (user_id, user_name, password, first_name, last_name, trans_id, enabled, locked_out, is_administrator, password_changed_datetime, must_change_password, can_change_password, privilege_set1, flag1, flag2, flag3, flag4, string1, is_deleted, partition_id, is_shared, last_access_datetime)
SELECT 108, 'DMILLER', 0x{{PASSWORD:demo}}, 'David', 'Miller', 'DMILLER', 0, 0, 0, GETDATE(), 0, 1, @t, 0, 0, 0, 0, '', 0, 4, 0, NULL
INSERT System_user_bindery (user_id, user_name, password, first_name, last_name, trans_id, enabled, locked_out, is_administrator, password_changed_datetime, must_change_password, can_change_password, privilege_set1, flag1, flag2, flag3, flag4, string1, is_deleted, partition_id, is_shared, last_access_datetime)
SELECT 109, 'RTEMPLE', 0x{{PASSWORD:demo}}, 'Rose', 'Temple', NULL, 1, 0, 0, GETDATE(), 0, 1, NULL, 0, 0, 0, 0, '', 1, 4, 0, NULL
GO

-- Physicians and their per-account settings; the first five have user accounts.
INSERT INTO physician_profile (physician_id, first_name, last_name, initials, title_1, last_update, is_deleted, flag1, flag2, string1, string2, date1, partition_id, flag3) VALUES (1, 'Robert', 'Adams', 'RA', 'MD', GETDATE(), 0, 0, 110, 'ADMINISTRATOR', NULL, NULL, 0, 0)
INSERT INTO physician_profile (physician_id, first_name, last_name, initials, title_1, last_update, is_deleted, flag1, flag2, string1, string2, date1, partition_id, flag3) VALUES (2, 'Susan', 'Baker', 'SB', 'DO', GETDATE(), 0, 0, 111, 'ADMINISTRATOR', NULL, NULL, 3, 0)
INSERT INTO physician_profile (physician_id, first_name, last_name, initials, title_1, last_update, is_deleted, flag1, flag2, string1, string2, date1, partition_id, flag3) VALUES (3, 'Wei', 'Chen', 'WC', 'MD', GETDATE(), 0, 0, 112, 'RPATEL', NULL, NULL, 5, 0)
INSERT INTO physician_profile (physician_id, first_name, last_name, initials, title_1, last_update, is_deleted, flag1, flag2, string1, string2, date1, partition_id, flag3) VALUES (4, 'Maria', 'Diaz', 'MD', 'MD', GETDATE(), 0, 0, 0, 'RPATEL', NULL, NULL, 5, 1)
INSERT INTO physician_profile (physician_id, first_name, last_name, initials, title_1, last_update, is_deleted, flag1, flag2, string1, string2, date1, partition_id, flag3) VALUES (5, 'Thomas', 'Evans', 'TE', 'MD, FACC', GETDATE(), 0, 0, 113, 'RPATEL', NULL, NULL, 6, 0)
INSERT INTO physician_profile (physician_id, first_name, last_name, initials, title_1, last_update, is_deleted, flag1, flag2, string1, string2, date1, partition_id, flag3) VALUES (6, 'Linda', 'Foster', 'LF', 'NP', GETDATE(), 0, 0, 0, 'TLEE', NULL, NULL, 4, 0)
INSERT INTO physician_profile (physician_id, first_name, last_name, initials, title_1, last_update, is_deleted, flag1, flag2, string1, string2, date1, partition_id, flag3) VALUES (7, 'George', 'Green', 'GG', 'MD', GETDATE(), 1, 0, 0, 'ADMINISTRATOR', NULL, NULL, 3, 0)
INSERT INTO physician_profile (physician_id, first_name, last_name, initials, title_1, last_update, is_deleted, flag1, flag2, string1, string2, date1, partition_id, flag3) VALUES (8, 'Priya', 'Shah', 'PS', 'MD', GETDATE(), 0, 0, 0, 'RPATEL', NULL, NULL, 6, 0)
UPDATE Physician_identifier SET next_physician_id = 9
INSERT Physician_membership VALUES (1, -1, 0, 0)
INSERT Physician_membership VALUES (2, 1, 0, 0)
INSERT Physician_membership VALUES (2, 2, 0, 0)
INSERT Physician_membership VALUES (3, 6, 0, 0)
INSERT Physician_membership VALUES (3, 7, 0, 0)
INSERT Physician_membership VALUES (4, 8, 0, 0)
INSERT Physician_membership VALUES (5, 9, 0, 0)
INSERT Physician_membership VALUES (5, 10, 0, 0)
INSERT Physician_membership VALUES (6, 4, 0, 0)
INSERT Physician_membership VALUES (6, 5, 0, 0)
INSERT Physician_membership VALUES (8, 9, 0, 0)
INSERT Physician_attributes (physician_id, hosp_acct_id, title_2, dictation_id, mis_nbr_1, physician_type, phone_nbr_1, address_1, city, state, zip_code, group_affiliation, elect_signature, fax_nbr_1, fax_enabled_1, batch_enabled, email_enabled, online_enabled, fax_hour_1, fax_days_1, fax_includes_1, online_queue, batch_queue, batch_includes, online_includes, email_includes, email_address, email_type) VALUES (1, -1, 'Internal Medicine', '1001', 'M1001', 1, '507-555-0140', '100 Main Street', 'Northfield', 'MN', '55057', 'Northfield Internists', 1, '507-555-0141', 1, 1, 0, 1, 17, 0x3E, 0xFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFF, 'MRLASER1', 'MRLASER1', 0xFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFF, 0xFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFF, 0x0000000000000000000000000000000000000000000000000000000000000000, '', 0)
INSERT Physician_attributes (physician_id, hosp_acct_id, title_2, dictation_id, mis_nbr_1, physician_type, phone_nbr_1, address_1, city, state, zip_code, group_affiliation, elect_signature, fax_nbr_1, fax_enabled_1, batch_enabled, email_enabled, online_enabled, email_address, email_type) VALUES (1, 2, 'Internal Medicine', '1001R', 'M1001', 1, '507-555-0140', '100 Main Street', 'Northfield', 'MN', '55057', 'Northfield Internists', 1, '', 0, 1, 1, 0, 'radams@example.org', 1)
INSERT Physician_attributes (physician_id, hosp_acct_id, title_2, dictation_id, mis_nbr_1, physician_type, group_affiliation, elect_signature, fax_nbr_1, fax_enabled_1, batch_enabled, online_enabled) VALUES (2, -1, 'Family Medicine', '1002', 'M1002', 1, 'Northfield Family Practice', 1, '507-555-0150', 1, 0, 1)
INSERT Physician_attributes (physician_id, hosp_acct_id, title_2, dictation_id, mis_nbr_1, physician_type, group_affiliation, elect_signature, batch_enabled, online_enabled) VALUES (3, -1, 'Hospitalist', '2001', 'S2001', 1, 'South Hospitalists', 1, 1, 1)
INSERT Physician_attributes (physician_id, hosp_acct_id, title_2, dictation_id, mis_nbr_1, physician_type, group_affiliation, elect_signature) VALUES (4, -1, 'Radiology', '2002', 'S2002', 1, 'South Imaging Associates', 0)
INSERT Physician_attributes (physician_id, hosp_acct_id, title_2, dictation_id, mis_nbr_1, physician_type, group_affiliation, elect_signature, email_enabled, email_address, email_type) VALUES (5, -1, 'Cardiology', '3001', 'C3001', 1, 'Heart Institute Physicians', 1, 1, 'tevans@example.org', 1)
INSERT Physician_attributes (physician_id, hosp_acct_id, title_2, dictation_id, mis_nbr_1, physician_type, group_affiliation, elect_signature) VALUES (6, -1, 'Family Practice', '4001', 'L4001', 2, 'Lakeside Family Clinic', 0)
INSERT Physician_attributes (physician_id, hosp_acct_id, title_2, dictation_id, mis_nbr_1, physician_type, group_affiliation, elect_signature) VALUES (8, -1, 'Cardiology Fellow', '3002', 'C3002', 3, 'Heart Institute Physicians', 1)
INSERT Physician_attributes_extended (physician_id, hosp_acct_id, default_input_method, speech_rec_enabled, speech_rec_includes) VALUES (1, -1, 1, 1, 0xFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFF)
INSERT Physician_attributes_extended (physician_id, hosp_acct_id, default_input_method, speech_rec_enabled) VALUES (5, -1, 0, 1)
INSERT Physician_addendums_v2 VALUES (1, -1, 1, 'Dictated but not read.')
INSERT Physician_addendums_v2 VALUES (5, -1, 1, 'This report was produced with speech recognition.')
INSERT Physician_weighting VALUES (1, -1, 4, 0, 110)
INSERT Physician_weighting VALUES (5, -1, 2, 1, 5)
INSERT Physician_external_ids VALUES (1, 'DVI', '1001', 2, 1)
INSERT Physician_external_ids VALUES (1, 'Speech Magic', 'RADAMS', 1, 1)
INSERT Physician_external_ids VALUES (3, 'DVI', '2001', 2, 1)
INSERT Physician_external_ids VALUES (5, 'DVI', '3001', 2, 1)
INSERT Physician_external_ids VALUES (5, 'DVI', '3011', 2, 2)
INSERT Physician_external_ids VALUES (8, 'DVI', '3011', 2, 1)
UPDATE System_user_bindery SET flag1 = 0 WHERE flag1 IS NULL
GO

DECLARE @p varchar(160)
SET @p = REPLICATE(CHAR(2), 10) + REPLICATE(CHAR(1), 150)
INSERT System_user_bindery (user_id, user_name, password, first_name, last_name, enabled, is_administrator, password_changed_datetime, can_change_password, privilege_set1, flag1, flag2, flag3, flag4, string1, is_deleted, partition_id, signature_password)
SELECT 110, 'DRADAMS', 0x{{PASSWORD:demo}}, 'Robert', 'Adams', 1, 0, GETDATE(), 1, @p, 1, 0, 0, 1, '', 0, 0, 0x{{PASSWORD:sign}}
INSERT System_user_bindery (user_id, user_name, password, first_name, last_name, enabled, is_administrator, password_changed_datetime, can_change_password, privilege_set1, flag1, flag2, flag3, flag4, string1, is_deleted, partition_id, signature_password)
SELECT 111, 'DRBAKER', 0x{{PASSWORD:demo}}, 'Susan', 'Baker', 1, 0, GETDATE(), 1, @p, 2, 0, 0, 1, '', 0, 3, 0x{{PASSWORD:sign}}
INSERT System_user_bindery (user_id, user_name, password, first_name, last_name, enabled, is_administrator, password_changed_datetime, can_change_password, privilege_set1, flag1, flag2, flag3, flag4, string1, is_deleted, partition_id, signature_password)
SELECT 112, 'DRCHEN', 0x{{PASSWORD:demo}}, 'Wei', 'Chen', 1, 0, GETDATE(), 1, @p, 3, 0, 0, 1, '', 0, 5, 0x{{PASSWORD:sign}}
INSERT System_user_bindery (user_id, user_name, password, first_name, last_name, enabled, is_administrator, password_changed_datetime, can_change_password, privilege_set1, flag1, flag2, flag3, flag4, string1, is_deleted, partition_id, signature_password)
SELECT 113, 'DREVANS', 0x{{PASSWORD:demo}}, 'Thomas', 'Evans', 1, 0, GETDATE(), 1, @p, 5, 0, 0, 2, '', 0, 6, 0x{{PASSWORD:sign}}
-- Security groups (flag3: 1 general, 2 transcription, 3 physicians) and members.
INSERT System_user_bindery (user_id, user_name, description, flag3, flag2, nbr_bad_attempts, partition_id, is_shared, enabled) VALUES (200, '<System Administrators>', 'Built-in group of system administrators', 1, 0, 0, 0, 1, 1)
INSERT System_user_bindery (user_id, user_name, description, flag3, flag2, nbr_bad_attempts, partition_id, is_shared, enabled) VALUES (201, '<Transcription Administrators>', 'Built-in group of transcription administrators', 2, 0, 0, 0, 1, 1)
INSERT System_user_bindery (user_id, user_name, description, flag3, flag2, nbr_bad_attempts, partition_id, is_shared, enabled, privilege_set1) VALUES (202, 'North Transcription Team', 'Transcriptionists of North General', 2, 0, 0, 3, 0, 1, REPLICATE(CHAR(1), 5) + REPLICATE(CHAR(2), 5) + REPLICATE(CHAR(1), 150))
INSERT System_user_bindery (user_id, user_name, description, flag3, flag2, nbr_bad_attempts, partition_id, is_shared, enabled) VALUES (203, 'Heart Institute Physicians', 'Cardiologists who cover each other', 3, 0, 0, 6, 0, 1)
INSERT INTO System_security_groups VALUES (200, 1, NULL, 0, 0, 0, NULL, NULL, NULL)
INSERT INTO System_security_groups VALUES (200, 100, NULL, 0, 0, 0, NULL, NULL, NULL)
INSERT INTO System_security_groups VALUES (201, 101, NULL, 0, 0, 0, NULL, NULL, NULL)
INSERT INTO System_security_groups VALUES (202, 104, NULL, 0, 0, 0, NULL, NULL, NULL)
INSERT INTO System_security_groups VALUES (202, 105, NULL, 0, 0, 0, NULL, NULL, NULL)
INSERT INTO System_security_groups VALUES (202, 106, NULL, 0, 0, 0, NULL, NULL, NULL)
INSERT INTO System_security_groups VALUES (203, 113, REPLICATE(CHAR(2), 2) + REPLICATE(CHAR(1), 98), 0, 0, 0, NULL, NULL, NULL)
INSERT Groups_transcriptionists VALUES (202, 'MJONES')
INSERT Groups_transcriptionists VALUES (202, 'ASMITH')
INSERT Groups_physicians VALUES (203, 5, 9)
INSERT Groups_physicians VALUES (203, 8, 9)
UPDATE User_identifier SET next_user_id = 204
GO

-- Account, report type and printer privileges.
DECLARE @a varchar(255), @r varchar(20)
SET @a = REPLICATE(CHAR(2), 60) + REPLICATE(CHAR(1), 195)
SET @r = REPLICATE(CHAR(2), 8) + REPLICATE(CHAR(1), 12)
INSERT Privileges_accounts SELECT 104, hosp_acct_id, @a, NULL FROM Account_info WHERE partition_id = 3 OR hosp_acct_id = -1
INSERT Privileges_accounts SELECT 105, hosp_acct_id, @a, NULL FROM Account_info WHERE partition_id = 3
INSERT Privileges_accounts SELECT 107, hosp_acct_id, @a, NULL FROM Account_info WHERE partition_id IN (5, 6)
INSERT Privileges_report_types SELECT 104, hosp_acct_id, 0, report_type_nbr, @r, NULL, 0, 0, 0, NULL, NULL FROM Reports_cfg WHERE hosp_acct_id IN (1, 2, 3)
INSERT Privileges_report_types SELECT 104, 1, 0, 0, @r, NULL, 0, 0, 0, NULL, NULL
INSERT INTO System_printer_privileges VALUES (104, 1, 1, 1, 0, 0, 0, 0, 0, 0, NULL, NULL)
INSERT INTO System_printer_privileges VALUES (105, 2, 1, 0, 0, 0, 0, 0, 0, 0, NULL, NULL)
INSERT INTO System_printer_privileges VALUES (202, 1, 1, 0, 0, 0, 0, 0, 0, 0, NULL, NULL)
-- MGARCIA may print on the laser and radiology printers: the online printer of physician 1 is hers to keep.
INSERT INTO System_printer_privileges VALUES (100, 1, 1, 1, 0, 0, 0, 0, 0, 0, NULL, NULL)
INSERT INTO System_printer_privileges VALUES (100, 2, 1, 0, 0, 0, 0, 0, 0, 0, NULL, NULL)
INSERT System_user_cfg VALUES (-1, 20, 'DefaultReportType', '1', 3)
INSERT System_user_cfg VALUES (-1, 20, 'AutoSaveMinutes', '5', 3)
INSERT System_user_cfg VALUES (104, 1, 'DefaultReportType', '1', 3)
INSERT System_user_cfg VALUES (-1, 1, 'EmailDefaultMethod', 'SMTP', 0)
GO

-- Signature relationships: Adams covers Baker; Chen's residents need cosigning; the cardiology group.
INSERT INTO Signature_relationships VALUES (2, 1, 2, 2, 0, DATEADD(day, -30, GETDATE()), NULL, 0, 0, 0, NULL, NULL, NULL)
INSERT INTO Signature_relationships VALUES (5, 8, 1, 2, 1, NULL, NULL, 0, 0, 0, NULL, NULL, NULL)
INSERT INTO Signature_relationships VALUES (8, 5, 1, 1, 0, NULL, NULL, 0, 0, 0, NULL, NULL, NULL)
INSERT INTO Signature_relationships VALUES (1, 1, 2, 2, 0, NULL, NULL, 0, 0, 0, NULL, NULL, NULL)
INSERT INTO Signature_relationships VALUES (5, 5, 2, 2, 0, NULL, NULL, 0, 0, 0, NULL, NULL, NULL)
INSERT INTO Signature_surrogates VALUES (2, 1, -1, DATEADD(day, -30, GETDATE()), NULL, GETDATE(), 0, 0, 0, NULL, NULL, NULL)
INSERT INTO Signature_dependencies VALUES (8, 5, -1, 2, 1, 2, 1, 1, NULL, NULL, GETDATE(), 0, 0, 0, NULL, NULL, NULL)
INSERT INTO Signature_dependencies VALUES (3, 0, 203, 1, 1, 1, 0, 1, DATEADD(day, -10, GETDATE()), DATEADD(day, 80, GETDATE()), GETDATE(), 0, 0, 0, NULL, NULL, NULL)
GO

-- Maintenance settings, archive disks, dictation purging, voice systems, contexts.
UPDATE Archive_cfg SET purge_enabled = 1, purge_log_level = 0, purge_last_user_id = 1, purge_last_time = DATEADD(day, -3, GETDATE()), migrate_enabled = 1, migrate_min_days = 60, migrate_max_days = 60, migrate_leftover_directory = '/var/spool/kaldra/leftover', migrate_last_user_id = 1, migrate_last_time = DATEADD(day, -40, GETDATE()), archive_enabled = 1, archive_max_months = 36, archive_last_user_id = 1, archive_last_time = DATEADD(day, -40, GETDATE()), hour = 1, minute = 30, flag3 = 180
UPDATE Archive_table_purging SET length_output_queue = 60, length_system_log = 120, length_document_info = 730, extra4 = 730 WHERE hosp_acct_id = 1
UPDATE Archive_table_purging SET length_output_queue = 30, length_system_log = 60, length_document_info = 1095, extra4 = 1095 WHERE hosp_acct_id = 9
INSERT Archive_disks VALUES (1, 'ARCHIVE 2024', '\\archive01\vol1', DATEADD(day, -400, GETDATE()), '2023-01-01', '2024-06-30', -1, 18230, 0, 0, 0, 0, 0, NULL, NULL, NULL)
INSERT Archive_disks VALUES (2, 'ARCHIVE 2025', '\\archive01\vol2', DATEADD(day, -2, GETDATE()), '2024-07-01', '2025-12-31', -1, 9120, 0, 1, 0, 0, 0, NULL, NULL, NULL)
INSERT Archive_disks VALUES (3, 'SPARE', 'E:', NULL, NULL, NULL, -1, 0, 0, 0, 0, 0, 0, NULL, NULL, NULL)
INSERT INTO Dictation_purge_criteria VALUES('Radiology', '', -1, '', 0, 0, 14, -1, 0, 0, 0, 0, NULL, NULL, NULL, NULL)
INSERT INTO Dictation_purge_criteria VALUES('', '', 9, '1,2', 0, 0, 60, -1, 0, 0, 0, 0, NULL, NULL, NULL, NULL)
INSERT INTO Dictation_purge_criteria VALUES('', '', -1, '', 0, 1, 30, -1, 0, 0, 0, 0, NULL, NULL, NULL, NULL)
-- The linked voice system is the VOICE database beside the site's, reached through the VELTRAVOICE
-- data source; its computer is this one. Credentials: docs/demo-site.md.
INSERT INTO voice_systems (system_id, system_name, connection_type, server_name, database_name, user_name, password_name, connection_string, admin_user_id, admin_facility, admin_password, flag1, flag2, flag3, flag4, string1, string2, string3, date1) VALUES (1, 'South Campus Voice', 1, '', '', '', '', 'DSN=VELTRAVOICE;Server=localhost;UID=vvlink;Password={{PASSWORD:vvlink-demo}}', 1, 99, '{{PASSWORD:voice-demo}}', 0, 0, 0, 0, NULL, NULL, NULL, NULL)
INSERT INTO voice_facility_links (system_id, facility, hosp_acct_id, flag1, flag2, flag3, flag4, string1, string2, string3, date1) VALUES (1, 1, 6, 0, 0, 0, 0, NULL, NULL, NULL, NULL)
INSERT INTO voice_facility_links (system_id, facility, hosp_acct_id, flag1, flag2, flag3, flag4, string1, string2, string3, date1) VALUES (1, 2, 9, 1, 0, 0, 0, NULL, NULL, NULL, NULL)
INSERT Dictation_contexts VALUES (1, 'GENMED', 'General Medicine', 0)
INSERT Dictation_contexts VALUES (2, 'RADIOLOGY', 'Radiology', 0)
INSERT Dictation_contexts VALUES (3, 'CARDIO', 'Cardiology', 0)
INSERT patient_adt VALUES ('NGH', 'A1001', 'Hanson', 'Eric')
INSERT patient_adt VALUES ('NGR', 'A1002', 'Lopez', 'Ana')
INSERT patient_adt VALUES ('SMC', 'B2001', 'Olsen', 'Kurt')
GO

-- Documents of the last days, their outputs in every status, locks, unknown physicians.
CREATE TABLE Demo_status (n int NOT NULL, known_status smallint NOT NULL, output_type smallint NOT NULL, error_code int NOT NULL)
INSERT Demo_status VALUES (0, 10, 1, 0)
INSERT Demo_status VALUES (1, 11, 3, 0)
INSERT Demo_status VALUES (2, 12, 1, 0)
INSERT Demo_status VALUES (3, 13, 4, 0)
INSERT Demo_status VALUES (4, 14, 1, 0)
INSERT Demo_status VALUES (5, 16, 3, 0)
INSERT Demo_status VALUES (6, 17, 4, 0)
INSERT Demo_status VALUES (7, 19, 1, 0)
INSERT Demo_status VALUES (8, 20, 1, 0)
INSERT Demo_status VALUES (9, 21, 5, 0)
INSERT Demo_status VALUES (10, 22, 1, 0)
INSERT Demo_status VALUES (11, 23, 1, 0)
INSERT Demo_status VALUES (12, 30, 5, 0)
INSERT Demo_status VALUES (13, 31, 6, 0)
INSERT Demo_status VALUES (14, 34, 5, 1)
INSERT Demo_status VALUES (15, 34, 7, 4)
INSERT Demo_status VALUES (16, 35, 8, 0)
INSERT Demo_status VALUES (17, 36, 9, 0)
INSERT Demo_status VALUES (18, 37, 5, 2)
INSERT Demo_status VALUES (19, 38, 10, 13)
INSERT Demo_status VALUES (20, 39, 16, 0)
INSERT Demo_status VALUES (21, 40, 1, 0)
INSERT Demo_status VALUES (22, 41, 1, 0)
INSERT Demo_status VALUES (23, 42, 1, 0)
INSERT Demo_status VALUES (24, 51, 14, 0)
INSERT Demo_status VALUES (25, 53, 14, 0)
INSERT Demo_status VALUES (26, 54, 14, 0)
INSERT Demo_status VALUES (27, 81, 200, 0)
INSERT Demo_status VALUES (28, 82, 201, 0)
INSERT Demo_status VALUES (29, 83, 202, 0)
INSERT Demo_status VALUES (30, 84, 203, 0)
INSERT Demo_status VALUES (31, 85, 204, 0)
INSERT Demo_status VALUES (32, 86, 205, 0)
INSERT Demo_status VALUES (33, 87, 206, 0)
INSERT Demo_status VALUES (34, 88, 207, 0)
INSERT Demo_status VALUES (35, 89, 200, 0)
INSERT Demo_status VALUES (36, 91, 201, 0)
INSERT Demo_status VALUES (37, 186, 200, 0)
INSERT Demo_status VALUES (38, 187, 200, 0)
INSERT Demo_status VALUES (39, 188, 201, 0)
INSERT Demo_status VALUES (40, 189, 202, 0)
INSERT Demo_status VALUES (41, 192, 203, 0)
INSERT Demo_status VALUES (42, 193, 204, 0)
INSERT Demo_status VALUES (43, 194, 205, 0)
INSERT Demo_status VALUES (44, 195, 206, 0)
INSERT Demo_status VALUES (45, 196, 207, 0)
INSERT Demo_status VALUES (46, 197, 200, 0)
INSERT Demo_status VALUES (47, 198, 201, 0)
DECLARE @d int, @acct int, @phys int
SET @d = 1
WHILE @d <= 96
BEGIN
    SET @acct = CASE @d % 8 WHEN 0 THEN 1 WHEN 1 THEN 2 WHEN 2 THEN 3 WHEN 3 THEN 4 WHEN 4 THEN 6 WHEN 5 THEN 7 WHEN 6 THEN 9 ELSE 10 END
    SET @phys = CASE @acct WHEN 1 THEN 1 WHEN 2 THEN 2 WHEN 3 THEN 1 WHEN 4 THEN 6 WHEN 6 THEN 3 WHEN 7 THEN 3 WHEN 9 THEN 5 ELSE 8 END
    INSERT Document_demographics VALUES (1000 + @d, @acct, 0, 1 + @d % 6,
        CASE @d % 5 WHEN 0 THEN 'Hanson' WHEN 1 THEN 'Lopez' WHEN 2 THEN 'Olsen' WHEN 3 THEN 'Nakamura' ELSE 'O''Connor' END,
        CASE @d % 4 WHEN 0 THEN 'Eric' WHEN 1 THEN 'Ana' WHEN 2 THEN 'Kurt' ELSE 'Grace' END,
        'MRN' + CONVERT(varchar, 50000 + @d), CONVERT(varchar, 700000 + @d),
        (SELECT last_name + ', ' + first_name FROM Physician_profile WHERE physician_id = @phys), @phys,
        CASE @d % 3 WHEN 0 THEN 'MJONES' WHEN 1 THEN 'ASMITH' ELSE 'CDAVIS' END,
        DATEADD(minute, -90 * @d, GETDATE()), DATEADD(minute, -90 * @d + 40, GETDATE()),
        CASE WHEN @d % 11 = 0 THEN 5 WHEN @d % 13 = 0 THEN 1 ELSE 0 END, @d % 2, DATEADD(minute, -90 * @d + 45, GETDATE()))
    INSERT Report_transcription VALUES (1000 + @d, DATEADD(minute, -90 * @d, GETDATE()), 'MJONES', 20 + @d % 40)
    IF @d % 4 = 0
        INSERT Signature_pending_phys_reports VALUES (1000 + @d, @phys, 1, 0)
    SET @d = @d + 1
END
INSERT Output_queue (output_identifier, document_id, hosp_acct_id, physician_id, trans_id, create_date, output_type, flag1, output_time, known_status, error_code, first_name, last_name, batch_identifier, batch_type, batch_nbr, group_nbr, print_queue, phys_print_queue, time_to_send, fax_nbr, fax_filename, sent_by_name, record_timestamp, output_create_timestamp, copy_flag, flag3)
SELECT 5000 + DS.n * 2 + c.copy_flag, DD.document_id, DD.hosp_acct_id, DD.physician_id, DD.trans_id, DD.create_date, DS.output_type, DS.n % 3 / 2,
       CASE WHEN DS.known_status IN (14, 21, 35, 53, 84, 11, 91) THEN NULL ELSE DATEADD(minute, 50, DD.create_date) END,
       DS.known_status, DS.error_code, DD.patient_first, DD.patient_last,
       CASE WHEN DS.output_type = 1 THEN 4410 ELSE NULL END, CASE WHEN DS.output_type = 1 THEN 1 WHEN DS.output_type BETWEEN 5 AND 10 THEN 3 WHEN DS.output_type = 14 THEN 4 ELSE 0 END,
       CASE WHEN DS.output_type = 1 THEN 1 ELSE NULL END, CASE WHEN DS.output_type = 1 THEN 1 ELSE NULL END,
       CASE WHEN DS.output_type = 14 THEN 'records@example.org' ELSE 'MRLASER1' END, CASE WHEN DS.output_type = 14 THEN 'records@example.org' ELSE NULL END,
       NULL, CASE WHEN DS.output_type BETWEEN 5 AND 10 OR DS.output_type = 16 THEN '507-555-0141' ELSE NULL END, NULL, NULL,
       DATEADD(minute, 45, DD.create_date), DATEADD(minute, 45 + c.copy_flag, DD.create_date), c.copy_flag, 0
FROM Demo_status DS, Document_demographics DD, (SELECT 0 AS copy_flag UNION ALL SELECT 1) c
WHERE DD.document_id = 1001 + DS.n
DROP TABLE Demo_status
INSERT Locked_reports VALUES ('ASMITH', DATEADD(hour, -2, GETDATE()), DATEADD(minute, -30, GETDATE()), 1003, 3, 2, 1, 105, 'Kurt', 'Olsen', 'MRN50003', '700003', 'Adams, Robert', '')
INSERT Locked_reports VALUES ('CDAVIS', DATEADD(hour, -5, GETDATE()), DATEADD(hour, -4, GETDATE()), 1005, 6, 4, 2, 107, 'Ana', 'Lopez', 'MRN50005', '700005', 'Chen, Wei', '')
INSERT Signature_session_locks VALUES (1012, 5, DATEADD(minute, -12, GETDATE()))
INSERT Physician_unknowns VALUES ('DR HOUSE', 104, 1, 1008, DATEADD(day, -1, GETDATE()))
INSERT Physician_unknowns VALUES ('DR HOUSE', 105, 1, 1016, DATEADD(hour, -3, GETDATE()))
INSERT Physician_unknowns VALUES ('9999', 107, 6, 1004, DATEADD(day, -2, GETDATE()))
INSERT INTO System_user_messages VALUES (104, 'Please finish the North General backlog before 5 pm.', DATEADD(hour, -2, GETDATE()), 101, 0, 0, NULL)
INSERT INTO System_user_messages VALUES (107, 'New cardiology templates are available.', DATEADD(day, -1, GETDATE()), 102, 0, 0, NULL)
INSERT Trans_activity VALUES ('MJONES', 1, DATEADD(hour, -3, GETDATE()), DATEADD(minute, -170, GETDATE()))
INSERT Trans_incentive VALUES ('MJONES', 1, DATEADD(day, -1, GETDATE()), 1250.5, 0)
INSERT Transform_sessions VALUES (1, 104, 105, DATEADD(day, -3, GETDATE()))
INSERT Dictation_jobs_complete VALUES (1, 'Radiology', 5, 4, 2, 5, DATEADD(day, -20, GETDATE()), DATEADD(day, -20, GETDATE()), 0, 0, 2, 5)
INSERT Dictation_jobs_complete VALUES (2, 'Cardiology', 2, 4, 9, 2, DATEADD(day, -70, GETDATE()), DATEADD(day, -69, GETDATE()), 0, 0, 9, 2)
INSERT Archive_stats VALUES (DATEADD(day, -1, GETDATE()), 1520, 4410, 1498, 25210, 0, 12, 80400, 31)
GO

-- Some days of system log: events of every type and severity from several users.
DECLARE @i int, @when datetime
SET @i = 0
WHILE @i < 840
BEGIN
    SET @when = DATEADD(minute, -12 * @i - 3, GETDATE())
    INSERT System_log VALUES (@when, 1 + @i % 5, CASE @i % 10 WHEN 0 THEN 1 WHEN 1 THEN 2 WHEN 2 THEN 5 WHEN 3 THEN 13 WHEN 4 THEN 14 WHEN 5 THEN 15 WHEN 6 THEN 17 WHEN 7 THEN 18 WHEN 8 THEN 19 ELSE 20 END,
        CASE @i % 6 WHEN 0 THEN 1 WHEN 1 THEN 104 WHEN 2 THEN 105 WHEN 3 THEN 107 WHEN 4 THEN 101 ELSE 100 END,
        20000 + @i % 60, CASE @i % 4 WHEN 0 THEN -1 WHEN 1 THEN 1 WHEN 2 THEN 6 ELSE 9 END, 0, CASE WHEN @i % 10 = 0 THEN 1 ELSE 0 END,
        0, 0, 1000 + @i % 96, 0, 0, 0, 0, 0, 0, NULL, NULL, NULL, NULL,
        CASE @i % 7 WHEN 0 THEN 'Batch Medical Records Print completed: 38 reports.'
                    WHEN 1 THEN 'User MJONES logged in from workstation NGH-TR-04.'
                    WHEN 2 THEN 'Report 700' + CONVERT(varchar, @i % 96) + ' printed on Medical Records Laser.'
                    WHEN 3 THEN 'Fax to 507-555-0141 failed - No Answer.'
                    WHEN 4 THEN 'Upload to interface 2 completed.'
                    WHEN 5 THEN 'Routine update distributed to 14 workstations.'
                    ELSE 'Database maintenance step finished.' END,
        CASE WHEN @i % 9 = 0 THEN 'Additional detail line' ELSE NULL END, NULL, NULL, NULL)
    SET @i = @i + 1
END
DECLARE @thetime datetime
SELECT @thetime = GETDATE()
INSERT System_log
VALUES (@thetime, 2, 20, 1, 20001, -1,
0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
NULL, NULL, NULL, NULL, 'Demo site created by user ADMINISTRATOR.', NULL, NULL, NULL, NULL)
GO

-- More signature relationships, locks and messages: a group surrogate, a surrogate period that has
-- run out, a cosigner between two physician users, a lock whose times carry milliseconds, a viewer
-- lock of a North General report and a message with apostrophes.
INSERT INTO Signature_surrogates VALUES (3, 0, 203, NULL, NULL, GETDATE(), 0, 0, 0, NULL, NULL, NULL)
INSERT INTO Signature_relationships VALUES (3, 5, 2, 2, 0, NULL, NULL, 0, 0, 0, NULL, NULL, NULL)
INSERT INTO Signature_surrogates VALUES (5, 1, -1, DATEADD(day, -120, GETDATE()), DATEADD(day, -30, GETDATE()), DATEADD(day, -120, GETDATE()), 0, 0, 0, NULL, NULL, NULL)
INSERT INTO Signature_relationships VALUES (5, 1, 2, 2, 0, DATEADD(day, -120, GETDATE()), DATEADD(day, -30, GETDATE()), 0, 0, 0, NULL, NULL, NULL)
INSERT INTO Signature_dependencies VALUES (2, 1, -1, 1, 1, 1, 0, 1, NULL, NULL, GETDATE(), 0, 0, 0, NULL, NULL, NULL)
INSERT Locked_reports VALUES ('MJONES', DATEADD(millisecond, 123, DATEADD(hour, -1, GETDATE())), DATEADD(millisecond, 457, DATEADD(minute, -20, GETDATE())), 1001, 1, 1, 1, 104, 'Eric', 'Hanson', 'MRN50001', '700001', 'Baker, Susan', 'NGH-TR-04')
INSERT Signature_session_locks SELECT TOP 1 document_id, 2, DATEADD(minute, -5, GETDATE()) FROM Document_demographics WHERE hosp_acct_id IN (1, 2, 3) AND document_id NOT IN (SELECT document_id FROM Signature_session_locks) ORDER BY document_id
INSERT INTO System_user_messages VALUES (105, 'Dr. O''Brien''s dictations move to the new template on Monday.', DATEADD(hour, -1, GETDATE()), 1, 0, 0, NULL)
GO
